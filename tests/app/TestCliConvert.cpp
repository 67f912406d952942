// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Cli.h"
#include "storage/FileUtilities.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CliRun.h"
#include "tests/support/TestHome.h"
#include "tests/tools/ToolProcess.h"

#include <filesystem>
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

TEST(CliConvertTest, TrimsAreCheckedAsTheTrimDialogChecksThem)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4); // 2 s
    ASSERT_FALSE(clip.empty());
    const std::string output = test::MakeTempFolder("out");
    for (const auto& [trim, reason] :
         {std::pair<std::string, std::string>{"00:00:05-00:00:01",
                                              "Reason: The Start Time cannot exceed the End Time."},
          {"00:00:01-00:00:05", "Reason: The End Time cannot exceed the Total Duration of: 00:00:02"},
          {"00:00:00-00:61:00", "Reason: You can only enter numeric values."}}) {
        const CliRun run =
            InvokeCli({"convert", "--device", "iPod-Nano", "--output", output, "--trim", trim, clip});
        EXPECT_EQ(run.status, 2) << trim;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

// A program folder of its own: the shipped components, and an iPod-Nano.ini with one MPEG-4 profile.
std::string ProgramFolder(const std::string& codecSection, bool nothingOn = false)
{
    const std::string folder = test::MakeTempFolder("app");
    std::filesystem::create_directory_symlink(ZANTROVE_APP_DIR "/Components", folder + "/Components");
    CreateFolderPath(folder + "/Profiles");
    test::WriteTextFile(
        folder + "/Profiles/iPod-Nano.ini",
        "[General]\nNumberOfProfiles=1\n[Defaults]\nAudioCodec=aac\nAudioQuality=128 kbps\n"
        "AudioSampleRate=44100\nAudioChannels=Mono|Stereo\nVideoCodec=mpeg4\nVideoSize=320x240\n"
        "VideoQuality=768 kbps\nVideoFrameRate=25 fps\n[Profile1]\nName=Movie\nAudioCodec=0\n"
        "AudioQuality=0\nAudioSampleRate=0\nAudioChannels=1\nVideoCodec=0\nVideoSize=0\n"
        "VideoQuality=0\nVideoFrameRate=0\n" +
            std::string(nothingOn ? "AudioNoAudio=1\nVideoNoVideo=1\n" : "") + "[aac]\nExtension=m4a\n" +
            codecSection);
    return folder;
}

TEST(CliConvertTest, ArgumentsTheEncoderRefusesAreReportedUnderTheSource)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4);
    ASSERT_FALSE(clip.empty());
    for (const auto& [section, nothingOn] :
         {std::pair<std::string, bool>{
              "[mpeg4]\nVideoFormat=mp4\nExtension=mp4\nExtraParameters=-deinterlace\n", false},
          {"[mpeg4]\nVideoFormat=mp4\nExtension=mp4\n", true},
          {"[mpeg4]\nExtraParameters=-g 12\n", false}}) {
        const CliRun run =
            InvokeCli({"convert", "--device", "iPod-Nano", "--output", test::MakeTempFolder("out"), clip},
                      ProgramFolder(section, nothingOn));
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("\n-" + clip + ": "), std::string::npos) << section << run.err;
    }
}

TEST(CliConvertTest, QuotedExtraParametersStayOneArgument)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4);
    ASSERT_FALSE(clip.empty());
    const std::string output = test::MakeTempFolder("out");
    const CliRun run = InvokeCli(
        {"convert", "--device", "iPod-Nano", "--output", output, clip},
        ProgramFolder(
            "[mpeg4]\nVideoFormat=mp4\nExtension=mp4\nExtraParameters=-metadata \"title=A 'B'\"\n"));
    ASSERT_EQ(run.status, 0) << run.err;
    const test::ToolResult title =
        test::RunTool({"ffprobe", "-v", "error", "-show_entries", "format_tags=title", "-of", "csv=p=0",
                       output + "/h264.mp4"});
    EXPECT_EQ(title.out, "A 'B'\n");
}

TEST(CliConvertTest, MissingProfileFolderIsNamedBeforeAnyScriptRuns)
{
    const std::string folder = test::MakeTempFolder("app");
    std::filesystem::create_directory_symlink(ZANTROVE_APP_DIR "/Components", folder + "/Components");
    const CliRun run = InvokeCli({"convert", "--device", "iPad", "--output", test::MakeTempFolder("out"),
                                  test::ClipPath(test::Clip::H264AacMp4)},
                                 folder);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("The folder of the device profiles is missing: " + folder + "/Profiles"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("Processing File"), std::string::npos);
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
