// SPDX-License-Identifier: GPL-3.0-or-later
// The size a dry run announces against what the conversion then writes, on each device's default
// profile, for footage that is not trivially small to encode: a camera panning over a detailed
// picture, with sound that is not silence.
#include "platform/FileSystem.h"
#include "tests/e2e/PipelineSupport.h"
#include "tests/media/MediaClips.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace zantrove {
namespace {

namespace fs = std::filesystem;

struct Case
{
    const char* name;
    const char* device;
    const char* size; // the source's picture
    const char* rate;
    const char* trim; // empty: the whole clip
};

const Case kCases[] = {
    {"camera-1080", "iPhone", "1920x1080", "30", ""},
    {"dvd-576", "iPod-Classic", "720x576", "25", ""},
    {"web-360", "iPod-Nano", "640x360", "30", ""},
    {"tablet-720", "iPad", "1280x720", "25", "00:00:01-00:00:06"},
    {"phone-720", "iPod-Touch", "1280x720", "30", ""},
};

// The number in "  12.3 MB    path" lines of the estimate, in bytes.
double EstimatedBytes(const std::string& err)
{
    const std::size_t line = err.find("\n  ");
    if (line == std::string::npos)
        return 0;
    const double value = std::atof(err.c_str() + line + 3);
    const std::size_t unit = err.find_first_of("KMG", line + 3);
    return value * (err[unit] == 'K' ? 1e3 : err[unit] == 'M' ? 1e6 : 1e9);
}

using SizeEstimateTest = ::testing::TestWithParam<Case>;

TEST_P(SizeEstimateTest, WithinFifteenPercentOfTheConvertedFile)
{
    const test::TestHome home;
    const Case& clip = GetParam();
    const std::string folder = test::MakeTempFolder("in");
    const std::string source = folder + "/" + clip.name + ".mkv";
    // Seven seconds over a picture 2400x1400: the 1080 window moves 480 columns and 280 rows.
    const std::string pan =
        "crop=1920:1080:x=t*68:y=t*40,scale=" + std::string(clip.size) + ",format=yuv420p";
    const std::string still = test::MakeDetailedStill(folder);
    ASSERT_FALSE(still.empty());
    ASSERT_TRUE(
        test::Ffmpeg("-loop 1 -framerate " + std::string(clip.rate) + " -i " + test::ShellQuote(still) +
                     " -f lavfi -i anoisesrc=c=pink:a=0.2 -vf " + test::ShellQuote(pan) +
                     " -t 7 -c:v libx264 -crf 16 -preset ultrafast -c:a flac " + test::ShellQuote(source)));

    const std::string output = test::MakeTempFolder("out");
    std::vector<std::string> arguments{source, "--dry-run"};
    if (*clip.trim)
        arguments.insert(arguments.begin(), {"--trim", clip.trim});
    const test::CliRun dry = test::Convert(clip.device, output, arguments);
    ASSERT_EQ(dry.status, 0) << dry.err;
    const double estimated = EstimatedBytes(dry.err);
    arguments.pop_back();
    const test::CliRun run = test::Convert(clip.device, output, arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(std::distance(fs::directory_iterator(output), fs::directory_iterator()), 1);
    const double written = double(*FileSize(fs::directory_iterator(output)->path().string()));
    const double error = (estimated - written) / written;
    std::printf("%s on %s: estimated %.0f, written %.0f bytes: %+.1f %%\n", clip.name, clip.device, estimated,
                written, error * 100);
    EXPECT_LT(std::abs(error), 0.15) << dry.err;
}

INSTANTIATE_TEST_SUITE_P(Clips, SizeEstimateTest, ::testing::ValuesIn(kCases), test::PlainCaseName());

} // namespace
} // namespace zantrove
