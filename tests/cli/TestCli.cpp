// SPDX-License-Identifier: GPL-3.0-or-later
// zantrove-cli's commands run in this process: help, listings, the encoder line, probe, and the
// refusals that come before anything is converted.
#include "cli/Cli.h"
#include "media/MediaInfoLibrary.h"
#include "platform/FileSystem.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CliRun.h"
#include "tests/support/TestHome.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

namespace zantrove {
namespace {
using test::CliRun;
using test::InvokeCli;

// The words of a command line without quotes.
std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

TEST(CliTest, VersionHelpAndDevices)
{
    EXPECT_EQ(InvokeCli({"--version"}).out, "Zantrove 1.1\n");
    const CliRun help = InvokeCli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* line :
         {"\n  convert   ", "\n  devices   ", "\n  line      ", "\n  probe     ", "\n  profiles  "})
        EXPECT_NE(help.out.find(line), std::string::npos) << line;
    // Anywhere before "--", whatever else is given; after it, "--help" is a file name.
    for (const char* line : {"convert --help", "convert --device iPad -h", "line --help",
                             "probe x.avi --help", "devices --help", "profiles -h"}) {
        const CliRun run = InvokeCli(Words(line));
        const std::string command = Words(line)[0];
        EXPECT_EQ(run.status, 0) << line;
        EXPECT_TRUE(run.out.starts_with("Usage: zantrove-cli " + command)) << run.out;
        EXPECT_NE(run.out.find("\nExample:\n  zantrove-cli " + command), std::string::npos);
        EXPECT_EQ(run.err, "");
    }
    EXPECT_EQ(InvokeCli({"probe", "--", "--help"}).status, 1);
    EXPECT_EQ(InvokeCli({"devices"}).out, "iPod-Classic\niPod-Touch\niPod-Nano\niPhone\niPad\n");
}

TEST(CliTest, UsageErrorsWriteNothingToTheOutput)
{
    for (const char* line :
         {"", "frobnicate", "--frobnicate", "devices extra", "probe", "profiles ipad", "profiles",
          "profiles iPad iPhone", "line --device iPad --output /o", "line --device ipad --output /o x.avi",
          "line --device iPad --profile 99 --output /o x.avi",
          "line --device iPad --profile Custom --output /o x.avi", "line --device iPad x.avi",
          "line --device iPad --output /o --trim 1-2 x.avi", "line --device iPad --output /o --fast x.avi",
          "convert --device iPad --output /o --profile 0 x.avi"}) {
        const CliRun run = InvokeCli(Words(line));
        EXPECT_EQ(run.status, 2) << line;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::ranges::count(run.err, '\n'), 1) << run.err;
        if (std::string_view(line).starts_with("profiles")) {
            EXPECT_NE(run.err.find("iPod-Classic, iPod-Touch, iPod-Nano, iPhone, iPad"), std::string::npos);
        }
    }
}

TEST(CliTest, ProfilesAndTheLineOfEach)
{
    const std::string folder = test::MakeTempFolder("app");
    EXPECT_EQ(InvokeCli({"profiles", "iPad"}, folder).status, 1); // no file
    CreateFolderPath(folder + "/Profiles");
    test::WriteTextFile(
        folder + "/Profiles/iPhone.ini",
        "[General]\nNumberOfProfiles=2\nDefaultProfile=1\n[Defaults]\nAudioCodec=aac\n"
        "AudioQuality=128 kbps\nAudioSampleRate=44100\nAudioChannels=Mono|Stereo\n"
        "VideoCodec=libx264\nVideoSize=480x320\nVideoQuality=1000 kbps\nVideoFrameRate=30 fps\n"
        "[Profile1]\nName=Movie\nAudioCodec=0\nAudioQuality=0\nAudioSampleRate=0\nAudioChannels=1\n"
        "VideoCodec=0\nVideoSize=0\nVideoQuality=0\nVideoFrameRate=0\n[Profile2]\nName=Audio\n"
        "AudioCodec=0\nAudioQuality=0\nAudioSampleRate=0\nAudioChannels=0\nVideoNoVideo=1\n"
        "[libx264]\nVideoFormat=mp4\nExtension=mp4\nExtraParameters=-pix_fmt yuv420p\n"
        "[aac]\nExtension=m4a\n");
    EXPECT_EQ(InvokeCli({"profiles", "iPhone"}, folder).out, "1\tMovie\n2\tAudio\tdefault\n");
    const std::string missing = folder + "/no such clip.avi";
    // An unreadable file still gets its line, named after its path; the default is the second.
    const CliRun audio = InvokeCli({"line", "--device", "iPhone", "--output", "/out", missing}, folder);
    EXPECT_EQ(audio.status, 0) << audio.err;
    EXPECT_TRUE(
        audio.out.ends_with(" -vn -acodec aac -ab 128kbps -ar 44100 -ac 1 -y \"/out/no such clip.m4a\"\n"))
        << audio.out;
    // Its duration is 0, so a trim can only be empty.
    const CliRun movie = InvokeCli({"line", "--device", "iPhone", "--profile", "1", "--trim",
                                    "00:00:00-00:00:00", "--output", "/out", missing},
                                   folder);
    EXPECT_EQ(movie.status, 0) << movie.err;
    EXPECT_NE(movie.out.find(" -r 30 -ss 00:00:00 -t 00:00:00 -pix_fmt yuv420p -acodec"), std::string::npos)
        << movie.out;
}

TEST(CliProbe, OneLinePerFileInArgumentOrderUnreadableOnesIncludedAndFailing)
{
    const std::string mp4 = test::ClipPath(test::Clip::H264AacMp4);
    const std::string mp3 = test::ClipPath(test::Clip::Mp3Audio);
    ASSERT_FALSE(mp4.empty() || mp3.empty());
    const std::string folder = test::MakeTempFolder();
    const std::string missing = folder + "/missing.avi";
    const std::string notes = folder + "/notes.txt";
    test::WriteTextFile(notes, "not a video");
    const CliRun run = InvokeCli({"probe", mp4, missing, mp3, notes});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(InvokeCli({"probe", mp4}).status, 0);
    if (!MediaInfoLibrary::Shared().IsLoaded())
        GTEST_SKIP() << "libmediainfo.so.0 is not installed";
    EXPECT_EQ(run.err,
              "zantrove-cli: " + missing + ": no such file\nzantrove-cli: " + notes + ": not a media file\n");
    const std::string lines = "h264 | AVC | 00:00:02 | 160x120 |  |  | " + mp4 + "\n" +
                              "missing | UNKNOWN | 00:00:00 | 0x0 |  |  | " + missing + "\n" +
                              "tone | UNKNOWN | 00:00:02 | 0x0 |  |  | " + mp3 + "\n" +
                              "notes | UNKNOWN | 00:00:00 | 0x0 |  |  | " + notes + "\n";
    EXPECT_EQ(run.out, lines);
    // A terminal gets the column names first; a pipe only the rows.
    EXPECT_EQ(InvokeCli({"probe", mp4, missing, mp3, notes}, ZANTROVE_APP_DIR, true).out,
              "Filename | Codec | Duration | Video Size | Begin Time | End Time | Filepath\n" + lines);
}

TEST(CliProbe, TheInstalledCommandOpensNonAsciiNamesInAnyLocale)
{
    const std::string clip = test::ClipPath(test::Clip::NonAsciiMp4);
    ASSERT_FALSE(clip.empty());
    const std::string output = test::MakeTempFolder() + "/out.txt";
    ASSERT_TRUE(test::RunShell("LC_ALL=C " + test::ShellQuote(ZANTROVE_APP_DIR "/zantrove-cli") + " probe " +
                               test::ShellQuote(clip) + " > " + test::ShellQuote(output)));
    if (!MediaInfoLibrary::Shared().IsLoaded())
        GTEST_SKIP() << "libmediainfo.so.0 is not installed";
    EXPECT_EQ(test::ReadTextFile(output),
              "Überraschung ñ 日本 | AVC | 00:00:01 | 160x120 |  |  | " + clip + "\n");
}

// convert refuses to start before anything is written.
TEST(CliEncoderCheckTest, MissingProfilesComponentOrFfmpegRefusesTheStart)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4); // made while ffmpeg is still found
    ASSERT_FALSE(clip.empty());
    const std::string folder = test::MakeTempFolder("app");
    const std::string output = test::MakeTempFolder("out") + "/new";
    CliRun run = InvokeCli({"convert", "--device", "iPhone", "--output", output, clip}, folder);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "zantrove-cli: The folder of the device profiles is missing: " + folder +
                           "/Profiles\nPlease, reinstall Zantrove.\n");
    // The profiles without the components.
    std::filesystem::copy(ZANTROVE_APP_DIR "/Profiles", folder + "/Profiles");
    run = InvokeCli({"convert", "--device", "iPhone", "--output", output, clip}, folder);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("zantrove-cli: The conversion could not be started.\nThe encoder "
                                    "component is missing: " +
                                    folder + "/Components/Zantrove.dll\n"))
        << run.err;
    // The build's Components/ holds no ffmpeg, so an empty PATH leaves the component none.
    ASSERT_FALSE(FileExists(ZANTROVE_APP_DIR "/Components/ffmpeg"));
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", test::MakeTempFolder("nopath").c_str(), 1);
    run = InvokeCli({"convert", "--device", "iPod-Classic", "--output", output, "--dry-run", clip});
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "zantrove-cli: The conversion could not be started.\nno ffmpeg found; install the "
                       "Debian package ffmpeg\n");
    EXPECT_FALSE(FolderExists(output));
}

} // namespace
} // namespace zantrove
