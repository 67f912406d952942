// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"
#include "platform/FileSystem.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CliProcess.h"
#include "tests/support/CliRun.h"
#include "tests/support/TestHome.h"
#include "tests/tools/TestIpod.h"
#include "tests/tools/ToolProcess.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace zantrove {
namespace {
using test::CliRun;
using test::InvokeCli;
using namespace std::chrono_literals;

std::vector<std::string> Lines(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

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
    const std::vector<std::string> lines = Lines(run.out);
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
    test::ShowNoIpod();
    const CliRun run = InvokeCli(
        {"convert", "--device", "iPod-Nano", "--output", output, "--itunes", clip, broken, missing});
    ::unsetenv("ZANTROVE_TEST_MOUNTS");
    EXPECT_EQ(run.status, 1);
    // Into a pipe: one line a file started, no redrawn bars.
    EXPECT_NE(run.err.find("Processing File: 2 of 3... " + broken + "\n"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\r'), std::string::npos);
    EXPECT_NE(run.err.find("zantrove-cli: " + broken + ": "), std::string::npos);
    EXPECT_NE(run.err.find("zantrove-cli: not converted: " + missing + "\n"), std::string::npos);
    // The library helper's word on the missing output of a failed file is not a second error.
    EXPECT_EQ(run.err.find(": no such file"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 file is in the playlist " + std::string(std::getenv("HOME")) +
                           "/Videos/Zantrove.m3u."),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(run.err.ends_with("\n1 of 3 files converted, 2 failed\n")) << run.err;
    const std::string first = Lines(run.out).at(0);
    EXPECT_TRUE(FileExists(first) && first.ends_with(".m4v")) << run.out;

    const CliRun quiet =
        InvokeCli({"convert", "--device", "iPod-Nano", "--output", output, "--quiet", missing});
    EXPECT_EQ(quiet.status, 1);
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.err.find("Processing File"), std::string::npos) << quiet.err;
    EXPECT_NE(quiet.err.find("zantrove-cli: not converted: " + missing + "\n"), std::string::npos);
    EXPECT_TRUE(quiet.err.ends_with("\n0 of 1 file converted, 1 failed\n")) << quiet.err;
}

TEST(CliConvertTest, ItunesPutsTheMoviesOnTheIpodAndReportsWhatFails)
{
    const std::string h264 = test::ClipPath(test::Clip::H264AacMp4);
    const std::string mpeg4 = test::ClipPath(test::Clip::Mpeg4Avi);
    ASSERT_FALSE(h264.empty() || mpeg4.empty());
    const test::TestIpod ipod;
    ASSERT_TRUE(ipod.Made());
    const std::string output = test::MakeTempFolder("out");
    CliRun run =
        InvokeCli({"convert", "--device", "iPod-Classic", "--output", output, "--itunes", h264, mpeg4});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("2 files are on the iPod \"Test iPod\"."), std::string::npos) << run.err;
    const std::vector<std::string> outputs = Lines(run.out);
    ASSERT_EQ(outputs.size(), 2u);

    const std::vector<test::TestIpod::Track> tracks = ipod.Tracks();
    ASSERT_EQ(tracks.size(), 2u);
    const unsigned lengths[] = {2000, 1000};
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(tracks[i].title, std::filesystem::path(outputs[i]).stem().string());
        EXPECT_NEAR(tracks[i].milliseconds, lengths[i], 150) << tracks[i].title;
        EXPECT_EQ(tracks[i].mediatype, 2u) << "a movie";
        EXPECT_EQ(std::filesystem::file_size(tracks[i].file), std::filesystem::file_size(outputs[i]));
    }
    EXPECT_EQ(ipod.MusicFiles().size(), 2u);

    // The helper's failure names the output file, so the run fails with it instead of exiting 0.
    test::WriteTextFile(ipod.DatabasePath(), "damaged");
    run = InvokeCli({"convert", "--device", "iPod-Classic", "--output", output, "--itunes", mpeg4});
    EXPECT_EQ(run.status, 1);
    const std::vector<std::string> third = Lines(run.out);
    ASSERT_EQ(third.size(), 1u);
    EXPECT_NE(run.err.find(" " + third[0] + ": the database of the iPod at "), std::string::npos) << run.err;
    EXPECT_EQ(test::ReadTextFile(ipod.DatabasePath()), "damaged");
}

#ifdef ZANTROVE_FAKE_NOTIFICATIONS
// A private session bus, as a desktop session has one; ended with the test.
struct PrivateBus
{
    PrivateBus()
    {
        const test::ToolResult bus =
            test::RunTool({"dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"});
        if (const std::vector<std::string> lines = Lines(bus.out); bus.exitCode == 0 && lines.size() == 2) {
            pid = std::stoi(lines[1]);
            ::setenv("DBUS_SESSION_BUS_ADDRESS", lines[0].c_str(), 1);
        }
    }
    ~PrivateBus()
    {
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
        if (pid > 0)
            ::kill(pid, SIGTERM);
    }
    pid_t pid = -1;
};

TEST(CliConvertTest, NotifiesTheDesktopOfTheOutcome)
{
    const std::string clip = test::ClipPath(test::Clip::Mpeg4Avi);
    ASSERT_FALSE(clip.empty());
    const std::string broken = test::MakeTempFolder("in") + "/broken.avi";
    test::WriteTextFile(broken, "not a video");
    const PrivateBus bus;
    ASSERT_GT(bus.pid, 0);
    const std::string cli = ZANTROVE_APP_DIR "/zantrove-cli";
    const std::string output = test::MakeTempFolder("out");

    // A bus without a notification service is no error.
    EXPECT_EQ(test::RunTool({cli, "convert", "--device", "iPod-Nano", "--output", output, clip}).exitCode, 0);

    const std::string record = test::MakeTempFolder("notes") + "/record";
    const test::RunningTool service =
        test::StartTool({ZANTROVE_FAKE_NOTIFICATIONS, record}, test::MakeTempFolder("service") + "/err");
    ASSERT_NE(test::ReadUntil(service.outFd, "ready", 10).find("ready"), std::string::npos);
    const test::ToolResult run =
        test::RunTool({cli, "convert", "--device", "iPod-Nano", "--output", output, clip, broken});
    ::kill(service.pid, SIGTERM);
    ::waitpid(service.pid, nullptr, 0);
    ::close(service.outFd);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(test::ReadTextFile(record), "Zantrove: conversion finished\n1 file converted, 1 failed.\n");
}
#endif

// A clip long enough that its conversion is surely still running when the test acts on it.
std::string LongClip(const std::string& name)
{
    const std::string path = test::MakeTempFolder("long") + "/" + name + ".mp4";
    const bool made =
        test::RunShell("ffmpeg -nostdin -v error -f lavfi -i testsrc2=size=160x120:rate=25 -f lavfi "
                       "-i sine=frequency=440 -t 30 -c:v libx264 -preset ultrafast -c:a aac -y " +
                       test::ShellQuote(path) + " </dev/null");
    return made ? path : std::string();
}

std::vector<std::string> ConvertArguments(const std::string& output, const std::vector<std::string>& files)
{
    std::vector<std::string> arguments{"convert", "--device", "iPod-Nano", "--profile",
                                       "6",       "--output", output};
    arguments.insert(arguments.end(), files.begin(), files.end());
    return arguments;
}

TEST(CliConvertTest, ItsOwnerEndingEndsTheRunButNeverTheRunBesideIt)
{
    const std::string clip = LongClip("long");
    ASSERT_FALSE(clip.empty());
    // Ctrl-C, a polite kill and a closed terminal cancel; a kill outright takes the run along.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        const std::string stopped = test::MakeTempFolder("stopped");
        const std::string beside = test::MakeTempFolder("beside");
        const pid_t owner = test::StartCliProcess(stopped, ConvertArguments(stopped + "/out", {clip}));
        const pid_t other = test::StartCliProcess(beside, ConvertArguments(beside + "/out", {clip}));
        ASSERT_TRUE(test::WaitUntil(
            [&] {
                return FileExists(stopped + "/out/long.m4v.part") &&
                       FileExists(beside + "/out/long.m4v.part");
            },
            60s));
        ASSERT_EQ(::kill(owner, signal), 0);
        const int status = test::WaitForCliProcess(owner);
        // Nothing of it goes on converting as an orphan.
        EXPECT_TRUE(test::WaitUntil([&] { return !test::ProcessNames(stopped); }, 10s)) << strsignal(signal);
        EXPECT_FALSE(FileExists(stopped + "/out/long.m4v")) << strsignal(signal);
        if (signal == SIGKILL) {
            EXPECT_EQ(status, 128 + SIGKILL);
        } else {
            EXPECT_EQ(status, 1) << strsignal(signal);
            EXPECT_NE(test::ReadTextFile(stopped + "/err.txt").find("the conversion was cancelled"),
                      std::string::npos)
                << strsignal(signal);
        }
        EXPECT_EQ(test::WaitForCliProcess(other), 0)
            << strsignal(signal) << test::ReadTextFile(beside + "/err.txt");
        EXPECT_TRUE(FileExists(beside + "/out/long.m4v"));
    }
}

TEST(CliConvertTest, TwoRunsIntoOneFolderNeverWriteOverEachOther)
{
    const std::string shortClip = test::ClipPath(test::Clip::H264AacMp4);
    const std::string firstLong = LongClip("first");
    const std::string secondLong = LongClip("second");
    ASSERT_FALSE(shortClip.empty() || firstLong.empty() || secondLong.empty());
    // Same name, two sources: both scripts are written before either run reaches it.
    const std::string sources[] = {test::MakeTempFolder("in") + "/same.mp4",
                                   test::MakeTempFolder("in") + "/same.mp4"};
    for (const std::string& source : sources)
        std::filesystem::copy_file(shortClip, source);
    const std::string output = test::MakeTempFolder("shared");
    test::WriteTextFile(output + "/same.m4v.part", "left by an earlier run");

    const std::string roots[] = {test::MakeTempFolder("run"), test::MakeTempFolder("run")};
    const pid_t runs[] = {
        test::StartCliProcess(roots[0], ConvertArguments(output, {firstLong, sources[0]})),
        test::StartCliProcess(roots[1], ConvertArguments(output, {secondLong, sources[1]}))};
    const int statuses[] = {test::WaitForCliProcess(runs[0]), test::WaitForCliProcess(runs[1])};

    // One run has the name; the other says so and leaves it alone.
    ASSERT_EQ(statuses[0] + statuses[1], 1)
        << test::ReadTextFile(roots[0] + "/err.txt") << test::ReadTextFile(roots[1] + "/err.txt");
    const int loser = statuses[0] == 1 ? 0 : 1;
    const std::string errors = test::ReadTextFile(roots[loser] + "/err.txt");
    EXPECT_NE(errors.find("zantrove-cli: " + sources[loser] + ": " + output + "/same.m4v already exists"),
              std::string::npos)
        << errors;
    EXPECT_TRUE(test::RunShell("ffmpeg -nostdin -v error -xerror -i " +
                               test::ShellQuote(output + "/same.m4v") + " -f null - </dev/null"));
    EXPECT_EQ(test::ReadTextFile(output + "/same.m4v.part"), "left by an earlier run");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(output))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"first.m4v", "same.m4v", "same.m4v.part", "second.m4v"}));
}

// The trim is checked against the clip's own duration, as the trim dialog checks it.
TEST(CliConvertTest, TrimsAreCheckedAgainstTheClip)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4); // 2 s
    ASSERT_FALSE(clip.empty());
    const CliRun run = InvokeCli({"convert", "--device", "iPod-Nano", "--output", test::MakeTempFolder("out"),
                                  "--trim", "00:00:01-00:00:05", clip});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Reason: The End Time cannot exceed the Total Duration of: 00:00:02"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "");
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

TEST(CliConvertTest, ExtraParametersReachTheEncoderAndItsRefusalsAreNamed)
{
    const std::string clip = test::ClipPath(test::Clip::H264AacMp4);
    ASSERT_FALSE(clip.empty());
    const std::string format = "[mpeg4]\nVideoFormat=mp4\nExtension=mp4\n";
    for (const auto& [section, nothingOn] :
         {std::pair<std::string, bool>{format + "ExtraParameters=-deinterlace\n", false},
          {format, true},
          {"[mpeg4]\nExtraParameters=-g 12\n", false}}) {
        const CliRun run =
            InvokeCli({"convert", "--device", "iPod-Nano", "--output", test::MakeTempFolder("out"), clip},
                      ProgramFolder(section, nothingOn));
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("zantrove-cli: " + clip + ": "), std::string::npos) << section << run.err;
    }
    // Quoted, a parameter stays one argument.
    const std::string output = test::MakeTempFolder("out");
    const CliRun run = InvokeCli({"convert", "--device", "iPod-Nano", "--output", output, clip},
                                 ProgramFolder(format + "ExtraParameters=-metadata \"title=A 'B'\"\n"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(test::RunTool({"ffprobe", "-v", "error", "-show_entries", "format_tags=title", "-of", "csv=p=0",
                             output + "/h264.mp4"})
                  .out,
              "A 'B'\n");
}

} // namespace
} // namespace zantrove
