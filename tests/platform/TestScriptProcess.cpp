// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PollingConsoleLauncher.h"
#include "platform/ScriptProcess.h"
#include "tests/platform/ScriptSamples.h"
#include "tests/support/TestHome.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zantrove {
namespace {

using Clock = std::chrono::steady_clock;

// What a launcher reported, in order: data pieces and "<end>" markers.
struct Recorder
{
    std::vector<std::string> pieces;
    std::vector<std::string> events;
    int ends = 0;

    void Attach(ConsoleLauncher& launcher)
    {
        launcher.SetDataReceived([this](const std::string& data) {
            pieces.push_back(data);
            events.push_back(data);
        });
        launcher.SetProcessEnded([this] {
            ++ends;
            events.push_back("<end>");
        });
    }
    std::string Text() const
    {
        std::string text;
        for (const auto& piece : pieces)
            text += piece;
        return text;
    }
};

void PumpToEnd(PollingConsoleLauncher& launcher, int limitMs = 20000)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
    while (launcher.Pump(100) && Clock::now() < deadline) {
    }
}

TEST(ScriptProcessTest, PiecesNeverSplitALineAndKeepTheWholeOutput)
{
    const auto sample = test::WriteLongOutputScript(test::MakeTempFolder("script"));
    PollingConsoleLauncher launcher;
    Recorder recorder;
    recorder.Attach(launcher);
    launcher.SetScript(sample.path);
    ASSERT_EQ(launcher.Start(), ConsoleLauncher::Started);
    PumpToEnd(launcher);

    EXPECT_EQ(test::FirstSplitLine(recorder.pieces), "");
    EXPECT_EQ(recorder.Text(), sample.expectedOutput);
    ASSERT_FALSE(recorder.pieces.empty());
    EXPECT_EQ(recorder.pieces.back(), "last piece without a line end");
    // Progress lines ending in CR arrive as pieces of their own.
    EXPECT_NE(std::find(recorder.pieces.begin(), recorder.pieces.end(),
                        "frame=7 fps=25 time=7.25 bitrate=1.0kbits/s\r"),
              recorder.pieces.end());
    EXPECT_NE(std::find(recorder.pieces.begin(), recorder.pieces.end(), "crlf line\r\n"),
              recorder.pieces.end());
    // The output is far bigger than a pipe holds, so the split really was exercised.
    EXPECT_GT(sample.expectedOutput.size(), 4u * 65536u);
}

TEST(ScriptProcessTest, EndComesOnceAfterTheLastPiece)
{
    const std::string folder = test::MakeTempFolder("script");
    const std::string script = test::WriteScript(folder, "short.sh", "echo one\necho two >&2\nexit 3\n");
    PollingConsoleLauncher launcher;
    Recorder recorder;
    recorder.Attach(launcher);
    launcher.SetScript(script);
    ASSERT_EQ(launcher.Start(), ConsoleLauncher::Started);
    EXPECT_TRUE(launcher.IsRunning());
    PumpToEnd(launcher);

    EXPECT_EQ(recorder.ends, 1);
    ASSERT_FALSE(recorder.events.empty());
    EXPECT_EQ(recorder.events.back(), "<end>");
    // Standard output and standard error share the one stream, with the echo of each command.
    EXPECT_EQ(recorder.Text(), "echo one\none\necho two >&2\ntwo\nexit 3\n");
    EXPECT_FALSE(launcher.IsRunning());
    EXPECT_FALSE(launcher.Pump(50));
    EXPECT_EQ(recorder.ends, 1);
}

TEST(ScriptProcessTest, MissingScriptCannotStart)
{
    PollingConsoleLauncher launcher;
    Recorder recorder;
    recorder.Attach(launcher);
    launcher.SetScript(test::MakeTempFolder("script") + "/missing.sh");
    EXPECT_EQ(launcher.Start(), ConsoleLauncher::CouldNotStart);
    EXPECT_EQ(launcher.LastError(), ENOENT);
    EXPECT_FALSE(launcher.IsRunning());
    EXPECT_FALSE(launcher.Pump(50));
    EXPECT_TRUE(recorder.events.empty());
}

TEST(ScriptProcessTest, SecondStartWhileRunningIsRefused)
{
    const std::string folder = test::MakeTempFolder("script");
    PollingConsoleLauncher launcher;
    Recorder recorder;
    recorder.Attach(launcher);
    launcher.SetScript(test::WriteScript(folder, "wait.sh", "sleep 0.3\necho done\n"));
    ASSERT_EQ(launcher.Start(), ConsoleLauncher::Started);
    EXPECT_EQ(launcher.Start(), ConsoleLauncher::AlreadyRunning);
    PumpToEnd(launcher);
    // The refused start neither disturbed nor repeated the run.
    EXPECT_EQ(recorder.Text(), "sleep 0.3\necho done\ndone\n");
    EXPECT_EQ(recorder.ends, 1);
    // Once ended it can run again.
    EXPECT_EQ(launcher.Start(), ConsoleLauncher::Started);
    PumpToEnd(launcher);
    EXPECT_EQ(recorder.ends, 2);
}

TEST(ScriptProcessTest, StopEndsTheWholeGroupAtOnceWithoutNotifications)
{
    const std::string folder = test::MakeTempFolder("script");
    PollingConsoleLauncher launcher;
    Recorder recorder;
    recorder.Attach(launcher);
    launcher.SetScript(test::WriteScript(folder, "sleep.sh", "sleep 30; echo after\n"));
    ASSERT_EQ(launcher.Start(), ConsoleLauncher::Started);
    const pid_t group = launcher.ProcessGroup();
    ASSERT_GT(group, 0);

    // Wait until the shell has started sleep, so there is a child to end as well.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    bool sleeping = false;
    while (!sleeping && Clock::now() < deadline) {
        launcher.Pump(20);
        for (const auto& member : test::LiveGroupMembers(group))
            sleeping = sleeping || member.name == "sleep";
    }
    ASSERT_TRUE(sleeping);
    EXPECT_EQ(recorder.Text(), "sleep 30; echo after\n");

    const auto before = Clock::now();
    launcher.Stop();
    EXPECT_LT(Clock::now() - before, std::chrono::seconds(3));
    EXPECT_FALSE(launcher.IsRunning());
    EXPECT_TRUE(test::LiveGroupMembers(group).empty());

    const std::size_t eventsAtStop = recorder.events.size();
    EXPECT_FALSE(launcher.Pump(300));
    EXPECT_EQ(recorder.events.size(), eventsAtStop);
    EXPECT_EQ(recorder.ends, 0);
    // Only the echo of the command: its "echo after" never ran.
    EXPECT_EQ(recorder.Text(), "sleep 30; echo after\n");
}

TEST(ScriptProcessTest, StopFromAHandlerEndsTheDeliveryAtOnce)
{
    const std::string folder = test::MakeTempFolder("script");
    PollingConsoleLauncher launcher;
    int pieces = 0;
    int ends = 0;
    launcher.SetDataReceived([&](const std::string&) {
        ++pieces;
        launcher.Stop();
    });
    launcher.SetProcessEnded([&] { ++ends; });
    // One printf, so all lines arrive in a single read.
    launcher.SetScript(test::WriteScript(folder, "lines.sh", "printf 'a\\nb\\nc\\n'\n"));
    ASSERT_EQ(launcher.Start(), ConsoleLauncher::Started);
    PumpToEnd(launcher);
    EXPECT_EQ(pieces, 1);
    EXPECT_EQ(ends, 0);
}

TEST(ScriptProcessTest, ScriptReadsNothingFromStandardInput)
{
    const std::string folder = test::MakeTempFolder("script");
    ScriptProcess process;
    ASSERT_TRUE(process.Start(test::WriteScript(folder, "stdin.sh", "cat\necho status $?\n")));
    std::string text;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    bool ended = false;
    while (!ended && Clock::now() < deadline) {
        const ScriptOutput output = process.ReadAvailable();
        for (const auto& piece : output.pieces)
            text += piece;
        ended = output.ended;
        ::usleep(10000);
    }
    ASSERT_TRUE(ended);
    EXPECT_EQ(text, "cat\necho status $?\nstatus 0\n");
    EXPECT_TRUE(WIFEXITED(process.WaitStatus()));
}

TEST(ScriptProcessTest, OpenDescriptorsOfTheCallerDoNotReachTheScript)
{
    const int raw = ::open("/dev/null", O_RDONLY);
    const int leaked = ::dup2(raw, 57);
    ::close(raw);
    ASSERT_EQ(leaked, 57);
    ASSERT_EQ(::fcntl(leaked, F_GETFD) & FD_CLOEXEC, 0);
    const std::string folder = test::MakeTempFolder("script");
    PollingConsoleLauncher launcher;
    Recorder recorder;
    recorder.Attach(launcher);
    launcher.SetScript(test::WriteScript(folder, "fds.sh",
                                         "if [ -e /proc/$$/fd/57 ]; then echo open; else echo closed; fi\n"));
    ASSERT_EQ(launcher.Start(), ConsoleLauncher::Started);
    PumpToEnd(launcher);
    ::close(leaked);
    ASSERT_FALSE(recorder.pieces.empty());
    EXPECT_EQ(recorder.pieces.back(), "closed\n");
}

} // namespace
} // namespace zantrove
