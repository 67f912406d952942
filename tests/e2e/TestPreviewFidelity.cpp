// SPDX-License-Identifier: GPL-3.0-or-later
// zantrove-cli preview against the real conversion: the picture it writes must be the converted file's
// frame at the same moment (same size, same look), for sources whose geometry or scan the encoder
// changes. The sources move, so a picture of another moment would not pass.
#include "tests/media/MediaClips.h"
#include "tests/support/CliRun.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace zantrove {
namespace {

namespace fs = std::filesystem;

struct Case
{
    const char* name;
    const char* device;
    const char* made; // ffmpeg's arguments after the moving test picture's size and rate
    const char* size; // the moving picture as displayed
    const char* rate;
    bool turned = false;
};

const Case kCases[] = {
    {"dvd-16x9.vob", "iPod-Classic", "-vf scale=720:576,setsar=64/45 -aspect 16:9 -c:v mpeg2video -b:v 6M",
     "1024x576", "25"},
    {"phone-upright.mp4", "iPhone", "-vf transpose=cclock -c:v libx264 -preset ultrafast", "360x640", "30",
     true},
    {"four-three.mp4", "iPad", "-c:v libx264 -preset ultrafast", "640x480", "30"},
    // Two moving fields a frame, top first, flagged as such.
    {"interlaced.mpg", "iPod-Nano",
     "-vf tinterlace=interleave_top,setsar=16/15 -aspect 4:3 -c:v mpeg2video -b:v 8M -flags +ilme+ildct -top "
     "1",
     "720x576", "50"},
};

// The gray pixels of one frame of a file at a moment, with its size from ffprobe.
struct Gray
{
    int width = 0;
    int height = 0;
    std::string pixels;
};

Gray Frame(const std::string& path, const char* at)
{
    Gray frame;
    const std::string size = test::CaptureShell("ffprobe -v error -select_streams v:0 -show_entries "
                                                "stream=width,height -of csv=p=0:s=x " +
                                                test::ShellQuote(path));
    frame.width = std::atoi(size.c_str());
    frame.height = std::atoi(size.c_str() + size.find('x') + 1);
    frame.pixels = test::CaptureShell("ffmpeg -nostdin -v error -ss " + std::string(at) + " -i " +
                                      test::ShellQuote(path) + " -frames:v 1 -f rawvideo -pix_fmt gray -");
    return frame;
}

double MeanDifference(const Gray& a, const Gray& b)
{
    if (a.pixels.size() != b.pixels.size() || a.pixels.empty())
        return 255;
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        sum += std::abs(int(static_cast<unsigned char>(a.pixels[i])) -
                        int(static_cast<unsigned char>(b.pixels[i])));
    return sum / double(a.pixels.size());
}

class PreviewFidelityTest : public ::testing::TestWithParam<Case>
{
protected:
    test::TestHome m_home;
};

TEST_P(PreviewFidelityTest, PictureIsTheConvertedFrameOfThatMoment)
{
    const Case& clip = GetParam();
    const std::string folder = test::MakeTempFolder("in");
    const std::string source = folder + "/" + clip.name;
    const std::string stored = std::string(clip.size).substr(std::string(clip.size).find('x') + 1);
    ASSERT_TRUE(test::RunShell(
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=s=" + std::string(clip.size) + ":r=" + clip.rate +
        " -t 4 -pix_fmt yuv420p " + clip.made + " " + test::ShellQuote(source)));
    if (clip.turned) {
        ASSERT_TRUE(test::TurnFirstTrack(source, std::atoi(clip.size)));
    }

    const std::string output = test::MakeTempFolder("out");
    const test::CliRun converted =
        test::InvokeCli({"convert", "--device", clip.device, "--output", output, source});
    ASSERT_EQ(converted.status, 0) << converted.err;
    const std::string picture = output + "/preview.png";
    const test::CliRun preview =
        test::InvokeCli({"preview", "--device", clip.device, "--at", "00:00:02", source, picture});
    ASSERT_EQ(preview.status, 0) << preview.err;
    std::string result;
    for (const auto& entry : fs::directory_iterator(output))
        if (entry.path().extension() != ".png")
            result = entry.path().string();

    const Gray shown = Frame(picture, "0");
    const Gray expected = Frame(result, "2");
    ASSERT_GT(shown.width, 0);
    EXPECT_EQ(shown.width, expected.width);
    EXPECT_EQ(shown.height, expected.height);
    EXPECT_NE(preview.out.find(std::to_string(shown.width) + "x" + std::to_string(shown.height) + " at "),
              std::string::npos)
        << preview.out;
    const double same = MeanDifference(shown, expected);
    const double other = MeanDifference(shown, Frame(result, "0"));
    std::printf("%s: mean difference %.2f to its moment, %.2f to the first frame\n", clip.name, same, other);
    EXPECT_LT(same, 4.0);
    EXPECT_GT(other, 2 * same);
}

INSTANTIATE_TEST_SUITE_P(Sources, PreviewFidelityTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             std::string name = param.param.name;
                             name = name.substr(0, name.find('.'));
                             std::erase(name, '-');
                             return name;
                         });

} // namespace
} // namespace zantrove
