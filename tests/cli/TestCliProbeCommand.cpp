// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"
#include "tests/support/CliRun.h"

#include "media/MediaInfoLibrary.h"
#include "platform/FileSystem.h"
#include "tests/media/MediaClips.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zantrove {
namespace {
using test::CliRun;
using test::InvokeCli;

TEST(CliProbe, WithoutFilesIsAUsageError)
{
    const CliRun run = InvokeCli({"probe"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("probe"), std::string::npos);
}

TEST(CliProbe, OneLinePerFileInArgumentOrderUnreadableOnesIncludedAndFailing)
{
    const std::string mp4 = test::ClipPath(test::Clip::H264AacMp4);
    const std::string mp3 = test::ClipPath(test::Clip::Mp3Audio);
    ASSERT_FALSE(mp4.empty());
    ASSERT_FALSE(mp3.empty());
    const std::string folder = test::MakeTempFolder();
    const std::string missing = JoinPath(folder, "missing.avi");
    const std::string notes = JoinPath(folder, "notes.txt");
    test::WriteTextFile(notes, "not a video");
    const CliRun run = InvokeCli({"probe", mp4, missing, mp3, notes});
    EXPECT_EQ(run.status, 1);
    if (!MediaInfoLibrary::Shared().IsLoaded())
        GTEST_SKIP() << "libmediainfo.so.0 is not installed";
    EXPECT_EQ(run.err, "zantrove-cli: " + missing + ": no such file\n" + "zantrove-cli: " + notes +
                           ": not a media file\n");
    const std::string lines = "h264 | AVC | 00:00:02 | 160x120 |  |  | " + mp4 + "\n" +
                              "missing | UNKNOWN | 00:00:00 | 0x0 |  |  | " + missing + "\n" +
                              "tone | UNKNOWN | 00:00:02 | 0x0 |  |  | " + mp3 + "\n" +
                              "notes | UNKNOWN | 00:00:00 | 0x0 |  |  | " + notes + "\n";
    EXPECT_EQ(run.out, lines);
    // A terminal gets the column names first; a pipe only the rows.
    EXPECT_EQ(InvokeCli({"probe", mp4, missing, mp3, notes}, ZANTROVE_APP_DIR, true).out,
              "Filename | Codec | Duration | Video Size | Begin Time | End Time | Filepath\n" + lines);
}

TEST(CliProbe, TheInstalledCommandPrintsTheSameLine)
{
    const std::string cli = JoinPath(ZANTROVE_APP_DIR, "zantrove-cli");
    if (!FileExists(cli))
        GTEST_SKIP() << "zantrove-cli is not built";
    const std::string clip = test::ClipPath(test::Clip::NonAsciiMp4);
    ASSERT_FALSE(clip.empty());
    const std::string output = JoinPath(test::MakeTempFolder(), "out.txt");
    // LC_ALL=C: the command must open non-ASCII names whatever the user's locale.
    ASSERT_TRUE(test::RunShell("LC_ALL=C " + test::ShellQuote(cli) + " probe " + test::ShellQuote(clip) +
                               " > " + test::ShellQuote(output)));
    if (!MediaInfoLibrary::Shared().IsLoaded())
        GTEST_SKIP() << "libmediainfo.so.0 is not installed";
    EXPECT_EQ(test::ReadTextFile(output),
              "Überraschung ñ 日本 | AVC | 00:00:01 | 160x120 |  |  | " + clip + "\n");
}

} // namespace
} // namespace zantrove
