// SPDX-License-Identifier: GPL-3.0-or-later
// The console launchers on real scripts: built once with the polling launcher and, where the
// window code is built, once more with the Qt one (ZANTROVE_TEST_QT_LAUNCHER).
#include "tests/platform/ScriptSamples.h"
#include "tests/support/TestHome.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#ifdef ZANTROVE_TEST_QT_LAUNCHER
#include "platform/QtConsoleLauncher.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#else
#include "platform/PollingConsoleLauncher.h"
#endif

namespace zantrove {
namespace {

using Clock = std::chrono::steady_clock;

// Each build names its cases after its launcher.
#ifdef ZANTROVE_TEST_QT_LAUNCHER
#define LAUNCHER_TEST QtConsoleLauncherTest
using Launcher = QtConsoleLauncher;
// The notifications come from the event loop.
void Deliver(Launcher&, int ms)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, ms);
}
#else
#define LAUNCHER_TEST PollingConsoleLauncherTest
using Launcher = PollingConsoleLauncher;
void Deliver(Launcher& launcher, int ms)
{
    launcher.Pump(ms);
}
#endif

// Delivers for up to ms milliseconds, or until done() holds.
template <typename Done> void DeliverUntil(Launcher& launcher, int ms, Done done)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (!done() && Clock::now() < deadline)
        Deliver(launcher, 20);
}

// Records what the launcher reported, in order: data pieces and "<end>" markers.
class LAUNCHER_TEST : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = test::MakeTempFolder("script");
        m_launcher.SetDataReceived([this](const std::string& data) {
#ifdef ZANTROVE_TEST_QT_LAUNCHER
            m_offMainThread = m_offMainThread || QThread::currentThread() != qApp->thread();
#endif
            m_pieces.push_back(data);
            m_text += data;
        });
        m_launcher.SetProcessEnded([this] {
            ++m_ends;
            m_pieces.push_back("<end>");
        });
    }
    void Start(const std::string& script, std::string path = {})
    {
        m_launcher.SetScript(path.empty() ? test::WriteScript(m_folder, "script.sh", script) : path);
        ASSERT_EQ(m_launcher.Start(), ConsoleLauncher::Started);
    }
    void RunToEnd()
    {
        DeliverUntil(m_launcher, 20000, [this] { return !m_launcher.IsRunning(); });
    }
    void Idle(int ms)
    {
        DeliverUntil(m_launcher, ms, [] { return false; });
    }

    std::string m_folder;
    Launcher m_launcher;
    std::vector<std::string> m_pieces;
    std::string m_text;
    int m_ends = 0;
    bool m_offMainThread = false;
};

TEST_F(LAUNCHER_TEST, PiecesNeverSplitALineAndKeepTheWholeOutput)
{
    const auto sample = test::WriteLongOutputScript(m_folder);
    Start("", sample.path);
#ifdef ZANTROVE_TEST_QT_LAUNCHER
    // Output is waiting in the pipe by now, yet nothing arrives until the event loop runs.
    ::usleep(300000);
    EXPECT_TRUE(m_pieces.empty());
#endif
    RunToEnd();
#ifdef ZANTROVE_TEST_QT_LAUNCHER
    EXPECT_FALSE(m_offMainThread);
#endif
    ASSERT_EQ(m_ends, 1);
    ASSERT_EQ(m_pieces.back(), "<end>");
    m_pieces.pop_back();
    EXPECT_EQ(test::FirstSplitLine(m_pieces), "");
    EXPECT_EQ(m_text, sample.expectedOutput);
    // Progress lines ending in CR arrive as pieces of their own.
    EXPECT_NE(std::find(m_pieces.begin(), m_pieces.end(), "frame=7 fps=25 time=7.25 bitrate=1.0kbits/s\r"),
              m_pieces.end());
    EXPECT_EQ(m_pieces.back(), "last piece");
}

// Standard output and error share the one stream after the echo of each command; the end comes
// once, last; standard input is empty; the caller's open descriptors stay out of the script.
TEST_F(LAUNCHER_TEST, EndComesOnceAfterTheLastPiece)
{
    const int leaked = ::dup2(STDERR_FILENO, 57);
    ASSERT_EQ(leaked, 57);
    Start("echo one\necho two >&2\ncat\n[ -e /proc/$$/fd/57 ] && echo open\nexit 3\n");
    EXPECT_TRUE(m_launcher.IsRunning());
    RunToEnd();
    ::close(leaked);
    EXPECT_EQ(m_text, "echo one\none\necho two >&2\ntwo\ncat\n[ -e /proc/$$/fd/57 ] && echo open\nexit 3\n");
    EXPECT_FALSE(m_launcher.IsRunning());
    Idle(200);
    EXPECT_EQ(m_ends, 1);
    EXPECT_EQ(m_pieces.back(), "<end>");
}

// A missing script cannot start; a second start while one runs is refused.
TEST_F(LAUNCHER_TEST, StartsOneRunAtATime)
{
    m_launcher.SetScript(m_folder + "/missing.sh");
    EXPECT_EQ(m_launcher.Start(), ConsoleLauncher::CouldNotStart);
    EXPECT_EQ(m_launcher.LastError(), ENOENT);
    EXPECT_FALSE(m_launcher.IsRunning());
    Idle(100);
    EXPECT_TRUE(m_pieces.empty());
    Start("sleep 0.3\necho done\n");
    EXPECT_EQ(m_launcher.Start(), ConsoleLauncher::AlreadyRunning);
    RunToEnd();
    // The refused start neither disturbed nor repeated the run; once ended it can run again.
    EXPECT_EQ(m_text, "sleep 0.3\necho done\ndone\n");
    EXPECT_EQ(m_ends, 1);
    EXPECT_EQ(m_launcher.Start(), ConsoleLauncher::Started);
    RunToEnd();
    EXPECT_EQ(m_ends, 2);
}

// A script that ignores SIGTERM (so does the sleep it starts) is killed with all it started,
// within a moment, collected (no zombie left), and reports nothing more.
TEST_F(LAUNCHER_TEST, StopEndsTheWholeGroupAtOnceWithoutNotifications)
{
    Start("trap '' TERM\nsleep 30; echo after\n");
    const pid_t group = m_launcher.ProcessGroup();
    ASSERT_GT(group, 0);
    bool sleeping = false;
    // The echo may still wait in the pipe when sleep already runs: a loaded machine reads it later.
    DeliverUntil(m_launcher, 5000, [&] {
        for (const auto& member : test::LiveGroupMembers(group))
            sleeping = sleeping || member.name == "sleep";
        return sleeping && m_text.ends_with("echo after\n");
    });
    ASSERT_TRUE(sleeping);

    const auto before = Clock::now();
    m_launcher.Stop();
    EXPECT_LT(Clock::now() - before, std::chrono::seconds(3));
    EXPECT_FALSE(m_launcher.IsRunning());
    EXPECT_TRUE(test::LiveGroupMembers(group).empty());
    EXPECT_TRUE(::kill(group, 0) != 0 && errno == ESRCH) << "the shell was not collected";
    Idle(300);
    EXPECT_EQ(m_ends, 0);
    // Only the echo of the commands: "echo after" never ran.
    EXPECT_EQ(m_text, "trap '' TERM\nsleep 30; echo after\n");
}

#ifdef ZANTROVE_TEST_QT_LAUNCHER
TEST_F(LAUNCHER_TEST, ANestedEventLoopInAHandlerGetsNoFurtherPiece)
{
    int depth = 0;
    int deepest = 0;
    m_launcher.SetDataReceived([&](const std::string& data) {
        deepest = std::max(deepest, ++depth);
        m_pieces.push_back(data);
        if (m_pieces.size() == 1) {
            // As a message box would: a local event loop while more output waits in the pipe.
            QEventLoop local;
            QTimer::singleShot(300, &local, &QEventLoop::quit);
            local.exec();
        }
        --depth;
    });
    Start("echo a\necho b\necho c\n");
    RunToEnd();
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(m_pieces.size(), 7u);
    EXPECT_EQ(m_ends, 1);
}
#endif

TEST_F(LAUNCHER_TEST, StopFromAHandlerEndsTheDeliveryAtOnce)
{
    m_launcher.SetDataReceived([this](const std::string& data) {
        m_pieces.push_back(data);
        m_launcher.Stop();
    });
    // One printf, so all lines arrive in a single read.
    Start("printf 'a\\nb\\nc\\n'\n");
    Idle(500);
    EXPECT_EQ(m_pieces.size(), 1u);
    EXPECT_EQ(m_ends, 0);
}

} // namespace
} // namespace zantrove
