// SPDX-License-Identifier: GPL-3.0-or-later
// Footage as people have it, through zantrove-cli convert with each device's default profile: DVD
// frames with non-square pixels, a phone clip stored on its side, a portrait clip, a wide film, a
// variable frame rate, a cover picture (fast rates are the motion test's). Every source shows a disc that is
// round on screen and a bar in its top left corner; the output must show both as the source's viewer sees
// them, whole, upright, with square pixels, at the source's rate up to 30 fps, within the device's frame.
#include "devices/DeviceCatalog.h"
#include "devices/ProfileFile.h"
#include "tests/e2e/PipelineSupport.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestHome.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <vector>

namespace zantrove {
namespace {

struct Source
{
    const char* name;
    int width; // the picture as displayed
    int height;
    const char* rate;    // the source's frame rate
    const char* stored;  // ffmpeg's output options that store the picture
    double expectedRate; // what the output must play at
    bool turnedOnItsSide = false;
};

const Source kSources[] = {
    {"dvd-16x9.vob", 1024, 576, "25", "-vf scale=720:576,setsar=64/45 -aspect 16:9 -c:v mpeg2video -b:v 4M",
     25},
    {"phone-upright.mp4", 360, 640, "30", "-vf transpose=cclock -c:v libx264 -preset ultrafast", 30, true},
    {"portrait.mp4", 360, 640, "30", "-c:v libx264 -preset ultrafast", 30},
    {"film.mkv", 956, 400, "24000/1001", "-c:v libx264 -preset ultrafast", 24000.0 / 1001},
    {"variable.mp4", 640, 360, "30",
     "-vf settb=1/1000,setpts='(N+0.4*mod(N\\,3))/(30*TB)' -fps_mode vfr -enc_time_base 1:1000 -c:v libx264 "
     "-preset ultrafast",
     0},
    {"cover.mkv", 640, 360, "25", "-c:v:0 mpeg4", 25},
};

// The source in the folder; empty when ffmpeg could not make it.
std::string MakeSource(const Source& source, const std::string& folder)
{
    const std::string path = folder + "/" + source.name;
    const std::string picture = path + ".png";
    const std::string canvas = "color=c=0x808080:s=" + std::to_string(source.width) + "x" +
                               std::to_string(source.height) +
                               ",format=gray,geq=lum='if(lt(hypot(X-W/2\\,Y-H/2)\\,0.35*min(W\\,H))\\,235\\,"
                               "if(lt(Y\\,H/10)*lt(X\\,W/4)\\,235\\,128))'";
    const std::string name = source.name;
    std::string extra;
    if (name.starts_with("dvd-16x9"))
        extra = " -f lavfi -i sine=d=1 -c:a mp2";
    else if (name == "cover.mkv") // a cover picture as a second picture stream
        extra = " -f lavfi -i color=red:s=300x300:d=1 -map 0 -map 1 -c:v:1 mjpeg -frames:v:1 1";
    else if (name.ends_with(".mp4"))
        extra = " -f lavfi -i sine=d=1 -c:a aac";
    const bool ready =
        test::Ffmpeg("-f lavfi -i " + test::ShellQuote(canvas) + " -frames:v 1 " +
                     test::ShellQuote(picture)) &&
        test::Ffmpeg("-loop 1 -framerate " + std::string(source.rate) + " -i " + test::ShellQuote(picture) +
                     extra + " -t 1 -pix_fmt yuv420p " + source.stored + " " + test::ShellQuote(path)) &&
        (!source.turnedOnItsSide || test::TurnFirstTrack(path, source.width));
    return ready ? path : std::string();
}

// Where the picture, the disc and the bar are in one grey frame of the output.
struct Shapes
{
    test::Box picture, disc, bar;
};

Shapes FindShapes(const test::Frames& frame)
{
    Shapes shapes{test::BrightBox(frame, 0, 70), {}, {}};
    // The disc is the bright region around the picture's centre; the bar is every other bright pixel.
    std::vector<char> inDisc(frame.bytes.size(), 0);
    std::vector<std::pair<int, int>> stack{
        {(shapes.picture.left + shapes.picture.right) / 2, (shapes.picture.top + shapes.picture.bottom) / 2}};
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        if (x < 0 || y < 0 || x >= frame.width || y >= frame.height ||
            inDisc[std::size_t(y) * frame.width + x] || frame.At(0, x, y) <= 180)
            continue;
        inDisc[std::size_t(y) * frame.width + x] = 1;
        shapes.disc.Add(x, y);
        stack.insert(stack.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            if (frame.At(0, x, y) > 180 && !inDisc[std::size_t(y) * frame.width + x])
                shapes.bar.Add(x, y);
    return shapes;
}

using PictureFidelityTest = ::testing::TestWithParam<DeviceInfo>;

TEST_P(PictureFidelityTest, ShapesKeepTheirProportionsWholeAndUpright)
{
    const std::string device(GetParam().identifier);
    const std::string file = ProfileFilePath(ZANTROVE_APP_DIR, device);
    // The default profile's frame, by its place in the list of sizes.
    const std::string target = ReadDefaultsList(file, ChoiceBox::VideoSize)
                                   .at(ReadProfileIndex(file, 1, ChoiceBox::VideoSize).value());
    const int targetWidth = std::atoi(target.c_str());
    const int targetHeight = std::atoi(target.c_str() + target.find('x') + 1);

    const std::string folder = test::MakeTempFolder("sources");
    std::vector<std::string> paths;
    for (const Source& source : kSources) {
        paths.push_back(MakeSource(source, folder));
        ASSERT_FALSE(paths.back().empty()) << "ffmpeg could not make " << source.name;
    }
    const std::string output = test::MakeTempFolder("out");
    const test::CliRun run = test::Convert(device, output, paths);
    ASSERT_EQ(run.status, 0) << run.err;

    for (const Source& source : kSources) {
        SCOPED_TRACE(device + " " + source.name);
        const std::string path = test::OutputOf(output, source.name);
        ASSERT_FALSE(path.empty());
        const std::string stream =
            test::Probe(path, "stream=sample_aspect_ratio,r_frame_rate,avg_frame_rate:stream_side_data");
        const test::Frames frame = test::Decode(path, "0.5", 1);
        ASSERT_GT(frame.width, 0);
        EXPECT_LE(frame.width, targetWidth);
        EXPECT_LE(frame.height, targetHeight);
        EXPECT_EQ(frame.width % 2 + frame.height % 2, 0);
        EXPECT_THAT(test::Entry(stream, "sample_aspect_ratio"), ::testing::AnyOf("1:1", "0:1", "N/A"));
        EXPECT_EQ(stream.find("rotation"), std::string::npos) << "the picture is left to a flag";
        // A cover goes with the picture as an attached picture, which V leaves out.
        const std::string pictures = test::Probe(path, "stream=index", "V");
        EXPECT_EQ(std::count(pictures.begin(), pictures.end(), '\n'), 1) << "one picture stream only";

        const double rate = test::RateValue(test::Entry(stream, "r_frame_rate"));
        if (source.expectedRate > 0)
            EXPECT_NEAR(rate, source.expectedRate, 0.01);
        else
            EXPECT_LE(rate, 30.001);
        EXPECT_NEAR(test::RateValue(test::Entry(stream, "avg_frame_rate")), rate, rate * 0.02)
            << "a constant rate";

        ASSERT_EQ(frame.bytes.size(), std::size_t(frame.width) * frame.height);
        const Shapes shapes = FindShapes(frame);
        ASSERT_FALSE(shapes.disc.Empty());
        ASSERT_FALSE(shapes.bar.Empty());
        EXPECT_NEAR(double(shapes.disc.Width()) / shapes.disc.Height(), 1.0, 0.04) << "the disc is not round";
        const double shown = double(source.width) / source.height;
        EXPECT_NEAR(double(shapes.picture.Width()) / shapes.picture.Height() / shown, 1.0, 0.04)
            << "the picture lost part of itself or its shape";
        EXPECT_NEAR(shapes.bar.left, shapes.picture.left, 3) << "the bar left its corner";
        EXPECT_NEAR(shapes.bar.top, shapes.picture.top, 3) << "the bar left its corner";
        EXPECT_LT(shapes.bar.bottom, shapes.disc.top);
    }
}

INSTANTIATE_TEST_SUITE_P(Devices, PictureFidelityTest, ::testing::ValuesIn(kDevices),
                         [](const auto& c) { return test::CaseName(c.param.identifier); });

} // namespace
} // namespace zantrove
