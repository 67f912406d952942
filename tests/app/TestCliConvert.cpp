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

TEST(CliConvertTest, DryRunPrintsTheScriptWithLibraryLinesAndWritesNothing)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4);
    ASSERT_FALSE(clip.empty());
    const std::string data = test::MakeTempFolder("data");
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    const std::string output = test::MakeTempFolder("out") + "/new";
    const CliRun run =
        InvokeCli({"convert", "--device", "iPad", "--output", output, "--itunes", "--dry-run", clip, clip});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(FolderExists(output));
    EXPECT_FALSE(FolderExists(data + "/Quelmar"));
    std::istringstream script(run.out);
    std::vector<std::string> lines;
    for (std::string line; std::getline(script, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[0].find("/Zantrove.exe' -i '" + clip + "'"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("/AddiTunes.exe' '" + output + "/"), std::string::npos) << lines[1];
    EXPECT_NE(lines[3].find(" (2).mp4'"), std::string::npos) << lines[3]; // one name per run
}

TEST(CliConvertTest, ConvertsAndNamesTheSourceOfEachFileThatFailed)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4);
    ASSERT_FALSE(clip.empty());
    const std::string folder = test::MakeTempFolder("in");
    const std::string broken = folder + "/broken.avi";
    test::WriteTextFile(broken, "not a video");
    const std::string missing = folder + "/missing.avi";
    const std::string output = test::MakeTempFolder("out") + "/new";
    const CliRun run =
        InvokeCli({"convert", "--device", "iPod-Nano", "--output", output, clip, broken, missing});
    EXPECT_EQ(run.status, 1);
    // Into a pipe: one line a file started, no redrawn bars.
    EXPECT_NE(run.err.find("Processing File: 2 of 3... " + broken + "\n"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\r'), std::string::npos);
    EXPECT_NE(run.err.find("zantrove-cli: " + broken + ": "), std::string::npos);
    EXPECT_NE(run.err.find("zantrove-cli: not converted: " + missing + "\n"), std::string::npos);
    EXPECT_TRUE(run.err.ends_with("\n1 of 3 files converted\n")) << run.err;
    std::istringstream written(run.out);
    std::string first;
    std::getline(written, first);
    EXPECT_TRUE(FileExists(first)) << run.out;
    EXPECT_TRUE(first.ends_with(".m4v"));

    const CliRun quiet =
        InvokeCli({"convert", "--device", "iPod-Nano", "--output", output, "--quiet", missing});
    EXPECT_EQ(quiet.status, 1);
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.err.find("Processing File"), std::string::npos) << quiet.err;
    EXPECT_NE(quiet.err.find("zantrove-cli: not converted: " + missing + "\n"), std::string::npos);
    EXPECT_TRUE(quiet.err.ends_with("\n0 of 1 file converted\n")) << quiet.err;
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
