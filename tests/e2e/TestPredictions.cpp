// SPDX-License-Identifier: GPL-3.0-or-later
// What zantrove-cli tells before converting against the real conversion: the preview picture must
// be the converted file's frame at the same moment (same size, same look), for sources whose geometry
// or scan the encoder changes; the sources move, so a picture of another moment would not pass.
#include "tests/e2e/PipelineSupport.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestHome.h"

#include <gmock/gmock.h>

#include <cstdlib>

namespace zantrove {
namespace {

struct PreviewCase
{
    const char* name;
    const char* device;
    const char* made; // ffmpeg's arguments after the moving test picture's size and rate
    const char* size; // the moving picture as displayed
    const char* rate;
    bool turned = false;
};

const PreviewCase kPreviewCases[] = {
    {"dvd-16x9.vob", "iPod-Classic", "-vf scale=720:576,setsar=64/45 -aspect 16:9 -c:v mpeg2video -b:v 6M",
     "1024x576", "25"},
    {"phone-upright.mp4", "iPhone", "-vf transpose=cclock -c:v libx264 -preset ultrafast", "360x640", "30",
     true},
    // Two moving fields a frame, top first, flagged as such.
    {"interlaced.mpg", "iPod-Nano",
     "-vf tinterlace=interleave_top,setsar=16/15 -aspect 4:3 -c:v mpeg2video -b:v 8M "
     "-flags +ilme+ildct -top 1",
     "720x576", "50"},
};

double MeanDifference(const test::Frames& a, const test::Frames& b)
{
    if (a.bytes.size() != b.bytes.size() || a.bytes.empty())
        return 255;
    double sum = 0;
    for (std::size_t i = 0; i < a.bytes.size(); ++i)
        sum += std::abs((a.bytes[i] & 0xFF) - (b.bytes[i] & 0xFF));
    return sum / double(a.bytes.size());
}

using PreviewFidelityTest = ::testing::TestWithParam<PreviewCase>;

TEST_P(PreviewFidelityTest, PictureIsTheConvertedFrameOfThatMoment)
{
    const PreviewCase& clip = GetParam();
    const std::string source = test::MakeTempFolder("in") + "/" + clip.name;
    ASSERT_TRUE(test::Ffmpeg("-f lavfi -i testsrc2=s=" + std::string(clip.size) + ":r=" + clip.rate +
                             " -t 4 -pix_fmt yuv420p " + clip.made + " " + test::ShellQuote(source)));
    ASSERT_TRUE(!clip.turned || test::TurnFirstTrack(source, std::atoi(clip.size)));

    const std::string output = test::MakeTempFolder("out");
    const test::CliRun converted = test::Convert(clip.device, output, {source});
    ASSERT_EQ(converted.status, 0) << converted.err;
    const std::string picture = output + "/preview.png";
    const test::CliRun preview =
        test::InvokeCli({"preview", "--device", clip.device, "--at", "00:00:02", source, picture});
    ASSERT_EQ(preview.status, 0) << preview.err;
    const std::string result = test::OutputOf(output, clip.name);

    const test::Frames shown = test::Decode(picture, "", 1);
    const test::Frames expected = test::Decode(result, "2", 1);
    ASSERT_GT(shown.width, 0);
    EXPECT_EQ(shown.width, expected.width);
    EXPECT_EQ(shown.height, expected.height);
    EXPECT_THAT(preview.out, ::testing::HasSubstr(std::to_string(shown.width) + "x" +
                                                  std::to_string(shown.height) + " at "));
    const double same = MeanDifference(shown, expected);
    EXPECT_LT(same, 4.0);
    EXPECT_GT(MeanDifference(shown, test::Decode(result, "", 1)), 2 * same);
}

INSTANTIATE_TEST_SUITE_P(Sources, PreviewFidelityTest, ::testing::ValuesIn(kPreviewCases),
                         [](const auto& c) { return test::CaseName(c.param.name); });

} // namespace
} // namespace zantrove
