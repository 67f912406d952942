// SPDX-License-Identifier: GPL-3.0-or-later
// zantrove-cli convert as a whole run: what it reports, the library step, the desktop notification, its
// ending and a second run beside it. Hostile inputs are left to the whole-pipeline tests.
#include "app/Startup.h"
#include "platform/FileSystem.h"
#include "tests/e2e/PipelineSupport.h"
#include "tests/media/MediaClips.h"
#include "tests/support/TestHome.h"
#include "tests/support/ToolProcess.h"
#include "tests/tools/TestIpod.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <sstream>
#include <sys/stat.h>

namespace zantrove {
namespace {
using test::CliRun;
using test::ConvertArguments;
using test::InvokeCli;
using namespace std::chrono_literals;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

std::vector<std::string> Lines(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Most runs convert the short clip; ffmpeg makes it once.
class CliConvertTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(m_clip.empty()) << "ffmpeg could not make the clip"; }
    const std::string m_clip = test::ClipPath(test::Clip::H264AacMp4); // 2 s
};

// What the probe finds no media in is refused before the run, each with its reason; the run goes on
// with the rest. A FIFO handed to the encoder would hold the run for ever.
TEST_F(CliConvertTest, ConvertsAndNamesTheSourceOfEachFileThatFailed)
{
    const std::string in = test::MakeTempFolder("in");
    const std::string broken = in + "/broken.avi", missing = in + "/missing.avi", fifo = in + "/pipe.mp4";
    test::WriteTextFile(broken, "not a video");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = test::MakeTempFolder("folder.mp4");
    const std::string output = test::MakeTempFolder("out") + "/new";
    const std::string data = test::MakeTempFolder("data");
    const test::ScopedEnv xdg("XDG_DATA_HOME", data);
    // A dry run prints the script, a library line after each encoder line, and writes nothing.
    const CliRun dry = test::Convert("iPad", output, {"--itunes", "--dry-run", m_clip, m_clip});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_FALSE(FolderExists(output));
    EXPECT_FALSE(FolderExists(data + "/Quelmar"));
    const std::vector<std::string> script = Lines(dry.out);
    ASSERT_EQ(script.size(), 4u);
    EXPECT_THAT(script[3], HasSubstr(" (2).mp4'")); // one name per run

    const test::ScopedEnv mounts("ZANTROVE_TEST_MOUNTS", std::nullopt); // put back after ShowNoIpod
    test::ShowNoIpod();
    const CliRun run =
        test::Convert("iPod-Nano", output, {"--itunes", m_clip, broken, missing, fifo, folder, "/dev/zero"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, StartsWith("zantrove-cli: " + broken +
                                    ": not a media file\nzantrove-cli: " + missing + ": no such file\n"));
    for (const std::string& path : {fifo, folder, std::string("/dev/zero")})
        EXPECT_THAT(run.err, HasSubstr("zantrove-cli: " + path + ": not a media file\n"));
    // Into a pipe: one line a file started, no redrawn bars.
    EXPECT_THAT(run.err, HasSubstr("Processing File: 1 of 1... " + m_clip + "\n"));
    EXPECT_THAT(run.err, Not(HasSubstr("\r")));
    EXPECT_THAT(run.err, HasSubstr("1 file is in the playlist " + std::string(std::getenv("HOME")) +
                                   "/Videos/Zantrove.m3u."));
    EXPECT_THAT(run.err, EndsWith("\n1 of 6 files converted, 5 failed\n"));
    EXPECT_EQ(run.out, output + "/" + std::filesystem::path(m_clip).stem().string() + ".m4v\n");
    EXPECT_EQ(Names(output).size(), 1u);

    const CliRun none = test::Convert("iPod-Nano", output, {missing});
    EXPECT_EQ(none.status, 1);
    EXPECT_THAT(none.err, EndsWith(": no such file\n0 of 1 file converted, 1 failed\n"));
    // A file without a picture is converted as sound alone with the video profile's audio settings.
    const std::string mp3 = test::ClipPath(test::Clip::Mp3Audio);
    ASSERT_FALSE(mp3.empty());
    const CliRun quiet = test::Convert("iPod-Nano", output, {"--quiet", mp3, missing});
    EXPECT_EQ(quiet.status, 1);
    EXPECT_EQ(quiet.out, "");
    EXPECT_THAT(quiet.err, Not(HasSubstr("Processing File")));
    EXPECT_THAT(quiet.err, EndsWith("\n1 of 2 files converted, 1 failed (1 as sound alone)\n"));
    const std::string sound = test::OutputOf(output, mp3);
    EXPECT_THAT(sound, EndsWith(".m4a"));
    EXPECT_EQ(test::Probe(sound, "stream=codec_type", ""), "codec_type=audio\n");
}

// A name with a line break, ESC and a right-to-left override: whole and NUL-ended for scripts,
// escaped on a terminal, so it neither splits a line nor restyles or reorders it.
TEST_F(CliConvertTest, ControlCharactersInNamesAreEscapedOnATerminalAndNulEndedOnAsk)
{
    const std::string name = "a\nb\x1b[31m\xE2\x80\xAEx";
    const std::string source = test::MakeTempFolder("in") + "/" + name + ".mp4";
    std::filesystem::copy_file(m_clip, source);
    const std::string output = test::MakeTempFolder("out");
    const CliRun null = test::Convert("iPod-Nano", output, {"-0", source});
    EXPECT_EQ(null.status, 0) << null.err;
    EXPECT_EQ(null.out, output + "/" + name + ".m4v" + std::string(1, '\0'));
    const CliRun shown = InvokeCli(ConvertArguments("iPod-Nano", output, {source}), ZANTROVE_APP_DIR, true);
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out, output + "/a\\nb\\x1b[31m\\u202ex (2).m4v\n");
    EXPECT_THAT(shown.err, HasSubstr("a\\nb\\x1b[31m\\u202ex.mp4\n"));
    EXPECT_THAT(shown.err, Not(HasSubstr(name)));
}

TEST_F(CliConvertTest, WithoutASettingsFolderNothingIsWrittenOrRun)
{
    const std::string output = test::MakeTempFolder("out") + "/new";
    const bool atRoot = FolderExists("/Quelmar"); // an older build's run beside this one may make it
    const test::ScopedEnv home("HOME", "/proc"), data("XDG_DATA_HOME", std::nullopt);
    for (const CliRun& refused :
         {test::Convert("iPad", output, {m_clip}), test::Convert("iPad", output, {"--dry-run", m_clip})}) {
        EXPECT_EQ(refused.status, 1);
        EXPECT_TRUE(refused.out.empty());
        EXPECT_THAT(refused.err, EndsWith("zantrove-cli: " + std::string(kNoSettingsFolderMessage) + "\n"));
    }
    EXPECT_FALSE(FolderExists(output));
    EXPECT_EQ(FolderExists("/Quelmar"), atRoot);
}

// A stand-in encoder component: it passes the check, then per source name dies after writing
// (139), writes nothing into its file, or converts.
std::string StandInApplication()
{
    const std::string app = test::MakeTempFolder("app");
    std::filesystem::copy(ZANTROVE_APP_DIR "/Profiles", app + "/Profiles");
    std::filesystem::create_directories(app + "/Components");
    test::WriteTextFile(app + "/Components/Zantrove.dll", R"(#!/bin/sh
[ "$1" = --check ] && exit 0
for out; do :; done
case "$2" in
*crash*) echo part > "$out"; exit 139 ;;
*empty*) : > "$out" ;;
*) echo whole > "$out" ;;
esac
)");
    std::filesystem::permissions(app + "/Components/Zantrove.dll", std::filesystem::perms::owner_all);
    return app;
}

TEST_F(CliConvertTest, TheComponentsStatusAndEmptyFilesFailAndOnlyConvertedFilesAreListed)
{
    const std::string in = test::MakeTempFolder("in"), output = test::MakeTempFolder("out");
    for (const char* name : {"crash", "empty", "fine"})
        std::filesystem::copy_file(m_clip, in + "/" + name + ".mp4");
    const CliRun run = InvokeCli(
        ConvertArguments("iPod-Nano", output, {in + "/crash.mp4", in + "/empty.mp4", in + "/fine.mp4"}),
        StandInApplication());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, output + "/fine.m4v\n");
    EXPECT_THAT(run.err,
                HasSubstr("zantrove-cli: " + in + "/crash.mp4: the encoder ended with status 139\n"));
    EXPECT_THAT(run.err, HasSubstr("zantrove-cli: not converted: " + in + "/crash.mp4\n"));
    EXPECT_THAT(run.err, HasSubstr("zantrove-cli: " + in + "/empty.mp4: not converted; " + output +
                                   "/empty.m4v was written empty\n"));
    EXPECT_THAT(run.err, HasSubstr("zantrove-cli: not converted: " + in + "/empty.mp4\n"));
    EXPECT_THAT(run.err, EndsWith("\n1 of 3 files converted, 2 failed\n"));
}

TEST_F(CliConvertTest, ItunesPutsTheMoviesOnTheIpodAndReportsWhatFails)
{
    // The second movie carries a cover, which goes to the iPod with it.
    const std::string in = test::MakeTempFolder("in"), mpeg4 = in + "/covered.mkv";
    ASSERT_TRUE(test::Ffmpeg("-f lavfi -i color=red:s=64x64 -frames:v 1 " + in + "/cover.png"));
    ASSERT_TRUE(test::Ffmpeg("-i " + test::ShellQuote(test::ClipPath(test::Clip::Mpeg4Avi)) + " -attach " +
                             in + "/cover.png -metadata:s:t mimetype=image/png -c copy " + mpeg4));
    const test::TestIpod ipod;
    ASSERT_TRUE(ipod.Made());
    const std::string output = test::MakeTempFolder("out");
    CliRun run = test::Convert("iPod-Classic", output, {"--itunes", m_clip, mpeg4});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("2 files are on the iPod \"Test iPod\"."));
    const std::vector<std::string> outputs = Lines(run.out);
    const std::vector<test::TestIpod::Track> tracks = ipod.Tracks();
    ASSERT_EQ(outputs.size(), 2u);
    ASSERT_EQ(tracks.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(tracks[i].title, std::filesystem::path(outputs[i]).stem().string());
        EXPECT_NEAR(tracks[i].milliseconds, i == 0 ? 2000 : 1000, 150) << tracks[i].title;
        EXPECT_EQ(tracks[i].mediatype, 2u) << "a movie";
        EXPECT_EQ(tracks[i].artwork, i == 1) << tracks[i].title;
        EXPECT_EQ(std::filesystem::file_size(tracks[i].file), std::filesystem::file_size(outputs[i]));
    }
    EXPECT_EQ(ipod.MusicFiles().size(), 2u);

    // The helper's failure names the output file, so the run fails with it instead of exiting 0.
    test::WriteTextFile(ipod.DatabasePath(), "damaged");
    run = test::Convert("iPod-Classic", output, {"--itunes", mpeg4});
    // It is not converted: stdout lists it no more than the summary counts it.
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr(" " + output + "/covered (2).m4v: the database of the iPod at "));
    EXPECT_THAT(run.err, EndsWith("\n0 of 1 file converted, 1 failed\n"));
}

#ifdef ZANTROVE_FAKE_NOTIFICATIONS
// A private session bus, as a desktop session has one; ended with the test.
struct PrivateBus
{
    pid_t pid = -1;
    std::optional<test::ScopedEnv> address;
    PrivateBus()
    {
        const auto bus =
            test::RunTool({"dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"});
        if (const std::vector<std::string> lines = Lines(bus.out); bus.exitCode == 0 && lines.size() == 2)
            pid = std::stoi(lines[1]), address.emplace("DBUS_SESSION_BUS_ADDRESS", lines[0]);
    }
    ~PrivateBus() { pid > 0 && ::kill(pid, SIGTERM); }
};

TEST_F(CliConvertTest, NotifiesTheDesktopOfTheOutcome)
{
    const std::string clip = test::ClipPath(test::Clip::Mpeg4Avi);
    ASSERT_FALSE(clip.empty());
    const std::string broken = test::MakeTempFolder("in") + "/broken.avi";
    test::WriteTextFile(broken, "not a video");
    const PrivateBus bus;
    ASSERT_GT(bus.pid, 0);
    std::vector<std::string> command = ConvertArguments("iPod-Nano", test::MakeTempFolder("out"), {clip});
    command.insert(command.begin(), ZANTROVE_APP_DIR "/zantrove-cli");

    // A bus without a notification service is no error.
    EXPECT_EQ(test::RunTool(command).exitCode, 0);

    const std::string record = test::MakeTempFolder("notes") + "/record";
    const std::string serviceErrors = test::MakeTempFolder("service") + "/err";
    const test::RunningTool service = test::StartTool({ZANTROVE_FAKE_NOTIFICATIONS, record}, serviceErrors);
    ASSERT_THAT(test::ReadUntil(service.outFd, "ready", 10), HasSubstr("ready"));
    command.push_back(broken);
    const test::ToolResult run = test::RunTool(command);
    // On a loaded machine the run may give up waiting for the answer before the service has written.
    test::WaitUntil([&] { return !test::ReadTextFile(record).empty(); }, 10s);
    ::kill(service.pid, SIGTERM);
    ::waitpid(service.pid, nullptr, 0);
    ::close(service.outFd);
    EXPECT_EQ(run.exitCode, 1);
    // Shown for the desktop's usual time (-1), not kept until dismissed.
    EXPECT_EQ(test::ReadTextFile(record),
              "Zantrove -1\nZantrove: conversion finished\n1 file converted, 1 failed.\n")
        << run.err << test::ReadTextFile(serviceErrors);
}
#endif

// A clip long enough that its conversion is surely still running when the test acts on it.
std::string LongClip(const std::string& name)
{
    return test::MakeClip(test::ClipFolder(), name, 30);
}

// The iPod nano's fast profile, as a program of its own with its settings under root (or data).
pid_t StartConvert(const std::string& root, const std::string& output, const std::vector<std::string>& files,
                   const std::string& data = {})
{
    return test::StartCliProcess(root, test::FastConvertArguments(output, files), data);
}

TEST_F(CliConvertTest, ItsOwnerEndingEndsTheRunButNeverTheRunBesideIt)
{
    const std::string clip = LongClip("long");
    ASSERT_FALSE(clip.empty());
    // Ctrl-C, a polite kill and a closed terminal cancel; a kill outright takes the run along.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(strsignal(signal));
        const std::string stopped = test::MakeTempFolder("stopped"), beside = test::MakeTempFolder("beside");
        const pid_t owner = StartConvert(stopped, stopped + "/out", {clip});
        const pid_t other = StartConvert(beside, beside + "/out", {clip});
        const auto converting = [](const std::string& root) {
            return FileExists(root + "/out/long.m4v.part");
        };
        ASSERT_TRUE(test::WaitUntil([&] { return converting(stopped) && converting(beside); }, 60s));
        ASSERT_EQ(::kill(owner, signal), 0);
        const int status = test::WaitForExit(owner);
        // Nothing of it goes on converting as an orphan.
        EXPECT_TRUE(test::WaitUntil([&] { return !test::FindProcess(stopped); }, 10s));
        EXPECT_FALSE(FileExists(stopped + "/out/long.m4v"));
        EXPECT_EQ(status, signal == SIGKILL ? 128 + SIGKILL : 1);
        if (signal != SIGKILL) {
            EXPECT_THAT(test::ReadTextFile(stopped + "/err.txt"), HasSubstr("the conversion was cancelled"));
        }
        EXPECT_EQ(test::WaitForExit(other), 0) << test::ReadTextFile(beside + "/err.txt");
        EXPECT_TRUE(FileExists(beside + "/out/long.m4v"));
    }
}

TEST_F(CliConvertTest, TwoRunsIntoOneFolderNeverWriteOverEachOther)
{
    const std::string firstLong = LongClip("first"), secondLong = LongClip("second");
    ASSERT_FALSE(firstLong.empty());
    ASSERT_FALSE(secondLong.empty());
    // Same name, two sources: both scripts are written before either run reaches it.
    const std::string sources[] = {test::MakeTempFolder("in") + "/same.mp4",
                                   test::MakeTempFolder("in") + "/same.mp4"};
    for (const std::string& source : sources)
        std::filesystem::copy_file(m_clip, source);
    const std::string output = test::MakeTempFolder("shared");
    test::WriteTextFile(output + "/same.m4v.part", "left by an earlier run");

    // Runs of one user: one settings folder for both.
    const std::string roots[] = {test::MakeTempFolder("run"), test::MakeTempFolder("run")};
    const std::string data = test::MakeTempFolder("data");
    const pid_t runs[] = {StartConvert(roots[0], output, {firstLong, sources[0]}, data),
                          StartConvert(roots[1], output, {secondLong, sources[1]}, data)};
    const int statuses[] = {test::WaitForExit(runs[0]), test::WaitForExit(runs[1])};

    // One run has the name; the other says so and leaves it alone.
    ASSERT_EQ(statuses[0] + statuses[1], 1)
        << test::ReadTextFile(roots[0] + "/err.txt") << test::ReadTextFile(roots[1] + "/err.txt");
    const int loser = statuses[0] == 1 ? 0 : 1;
    EXPECT_THAT(test::ReadTextFile(roots[loser] + "/err.txt"),
                HasSubstr("zantrove-cli: " + sources[loser] + ": " + output + "/same.m4v already exists"));
    EXPECT_TRUE(test::RunShell("ffmpeg -nostdin -v error -xerror -i " +
                               test::ShellQuote(output + "/same.m4v") + " -f null - </dev/null"));
    EXPECT_EQ(test::ReadTextFile(output + "/same.m4v.part"), "left by an earlier run");
    EXPECT_EQ(Names(output),
              (std::vector<std::string>{"first.m4v", "same.m4v", "same.m4v.part", "second.m4v"}));
    // Each lists its own files only, and its script went with it.
    const std::string ownLong[] = {output + "/first.m4v\n", output + "/second.m4v\n"};
    EXPECT_EQ(test::ReadTextFile(roots[loser] + "/out.txt"), ownLong[loser]);
    EXPECT_EQ(test::ReadTextFile(roots[1 - loser] + "/out.txt"), ownLong[1 - loser] + output + "/same.m4v\n");
    for (const std::string& name : Names(data + "/Quelmar/Zantrove"))
        EXPECT_THAT(name, Not(EndsWith(".bat")));
}

} // namespace
} // namespace zantrove
