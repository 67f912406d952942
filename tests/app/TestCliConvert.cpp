// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Cli.h"
#include "storage/FileUtilities.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CliRun.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>
#include <sstream>

namespace zantrove {
namespace {
using test::CliRun;
using test::InvokeCli;

TEST(CliConvertTest, DryRunPrintsTheScriptWithLibraryLines)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4);
    ASSERT_FALSE(clip.empty());
    const std::string output = test::MakeTempFolder("out");
    const CliRun run =
        InvokeCli({"convert", "--device", "iPad", "--output", output, "--itunes", "--dry-run", clip, clip});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream script(run.out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(script, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[0].find("/Zantrove.exe' -i '" + clip + "'"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("/AddiTunes.exe' '" + output + "/"), std::string::npos) << lines[1];
    EXPECT_NE(lines[3].find(" (2).mp4'"), std::string::npos) << lines[3]; // one name per run
}

TEST(CliConvertTest, ConvertsAndReportsTheFileThatFailed)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4);
    ASSERT_FALSE(clip.empty());
    const std::string folder = test::MakeTempFolder("in");
    const std::string broken = folder + "/broken.avi";
    test::WriteTextFile(broken, "not a video");
    const std::string output = test::MakeTempFolder("out") + "/new";
    const CliRun run = InvokeCli({"convert", "--device", "iPod-Nano", "--output", output, clip, broken});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("-" + broken + ":"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Processing File: 2 of 2..."), std::string::npos);
    std::istringstream written(run.out);
    std::string first;
    std::getline(written, first);
    EXPECT_TRUE(FileExists(first)) << run.out;
    EXPECT_TRUE(first.ends_with(".m4v"));
}

TEST(CliConvertTest, UsageErrors)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"convert", "--device", "iPad", "--output", "/o"},
          {"convert", "--device", "Zune", "--output", "/o", "x.avi"},
          {"convert", "--device", "iPad", "--output", "/o", "--profile", "0", "x.avi"}}) {
        EXPECT_EQ(InvokeCli(arguments).status, 2) << arguments[2];
    }
}

} // namespace
} // namespace zantrove
