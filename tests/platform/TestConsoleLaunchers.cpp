// SPDX-License-Identifier: GPL-3.0-or-later
// The console launchers on real scripts: built once with the polling launcher and, where the
// window code is built, once more with the Qt one (ZANTROVE_TEST_QT_LAUNCHER).
#include "tests/support/TestHome.h"
#include "tests/support/ToolProcess.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#ifdef ZANTROVE_TEST_QT_LAUNCHER
#include "platform/QtConsoleLauncher.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#define LAUNCHER_TEST QtConsoleLauncherTest
#define LAUNCHER QtConsoleLauncher
#else
#include "platform/PollingConsoleLauncher.h"
#define LAUNCHER_TEST PollingConsoleLauncherTest
#define LAUNCHER PollingConsoleLauncher
#endif

namespace zantrove {
namespace {

using Clock = std::chrono::steady_clock;

// Records what the launcher reported, in order: data pieces and "<end>" markers.
class LAUNCHER_TEST : public ::testing::Test
{
protected:
    void SetUp() override
    {
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
    void Start(const std::string& script)
    {
        test::WriteTextFile(m_script, script);
        m_launcher.SetScript(m_script);
        ASSERT_TRUE(m_launcher.Start());
    }
    // Delivers for up to ms milliseconds, or until done() holds.
    template <typename Done> void DeliverUntil(int ms, Done done)
    {
        for (const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
             !done() && Clock::now() < deadline;)
#ifdef ZANTROVE_TEST_QT_LAUNCHER
            // The notifications come from the event loop.
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
#else
            m_launcher.Pump(20);
#endif
    }
    void RunToEnd()
    {
        DeliverUntil(20000, [this] { return !m_launcher.IsRunning(); });
    }

    const std::string m_script = test::MakeTempFolder("script") + "/script.sh";
    LAUNCHER m_launcher;
    std::vector<std::string> m_pieces;
    std::string m_text;
    int m_ends = 0;
    bool m_offMainThread = false;
};

// Long lines and CR-ended progress lines, a CR LF line and a last piece without a line end: enough
// that the pipe is read in parts cut in the middle of lines. `sh -v` echoes each command first.
TEST_F(LAUNCHER_TEST, PiecesNeverSplitALineAndKeepTheWholeOutput)
{
    const std::string padding(3000, 'x');
    const std::string script = "i=0\nwhile [ $i -lt 300 ]; do\nprintf 'line %s " + padding +
                               "\\n' $i\nprintf 'frame=%s\\r' $i\ni=$((i+1))\ndone\n"
                               "printf 'crlf line\\r\\n'\nprintf 'last piece'\n";
    std::string expected = script.substr(0, script.find("printf 'crlf"));
    for (int i = 0; i < 300; ++i)
        expected += "line " + std::to_string(i) + " " + padding + "\nframe=" + std::to_string(i) + "\r";
    expected += "printf 'crlf line\\r\\n'\ncrlf line\r\nprintf 'last piece'\nlast piece";
    Start(script);
    RunToEnd();
    EXPECT_FALSE(m_offMainThread);
    ASSERT_EQ(m_ends, 1);
    ASSERT_EQ(m_pieces.back(), "<end>");
    m_pieces.pop_back();
    EXPECT_EQ(m_text, expected);
    // Each piece is one line: CR, LF or CR LF only at its end; only the last may lack one.
    for (std::size_t i = 0; i < m_pieces.size(); ++i) {
        const std::string& piece = m_pieces[i];
        const std::size_t end = piece.find_first_of("\r\n");
        const std::size_t body = piece.size() - (piece.ends_with("\r\n") ? 2 : end != piece.npos);
        ASSERT_TRUE(end == body || (end == piece.npos && i + 1 == m_pieces.size())) << i << ": " << piece;
    }
}

// Standard output and error share the one stream after the echo of each command; the end comes
// once, last; standard input is empty; the caller's open descriptors stay out of the script. A
// missing script cannot start; a second start while one runs is refused and disturbs nothing.
TEST_F(LAUNCHER_TEST, OneRunAtATimeEndingOnceAfterItsLastPiece)
{
    m_launcher.SetScript(m_script);
    const auto missing = m_launcher.Start();
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ENOENT);
    EXPECT_EQ(missing.error().Text(),
              "The conversion script " + m_script + " could not be started (" + std::strerror(ENOENT) + ")");
    EXPECT_FALSE(m_launcher.IsRunning());
    ASSERT_EQ(::dup2(STDERR_FILENO, 57), 57);
    Start("echo one\nsleep 0.3\necho two >&2\ncat\n[ -e /proc/$$/fd/57 ] && echo open\nexit 3\n");
    const auto second = m_launcher.Start();
    ASSERT_FALSE(second);
    EXPECT_EQ(second.error().Text(), kAlreadyConvertingText);
    RunToEnd();
    ::close(57);
    EXPECT_EQ(m_text, "echo one\none\nsleep 0.3\necho two >&2\ntwo\ncat\n[ -e /proc/$$/fd/57 ] && echo open\n"
                      "exit 3\n");
    DeliverUntil(200, [] { return false; });
    EXPECT_EQ(m_ends, 1);
    EXPECT_EQ(m_pieces.back(), "<end>");
    EXPECT_TRUE(m_launcher.Start());
    RunToEnd();
    EXPECT_EQ(m_ends, 2);
}

// A script that ignores SIGTERM (so does the sleep it starts) is killed with all it started,
// collected (no zombie left), and reports nothing more.
TEST_F(LAUNCHER_TEST, StopEndsTheWholeGroupAtOnceWithoutNotifications)
{
    Start("trap '' TERM\nsleep 30; echo after\n");
    const pid_t group = m_launcher.ProcessGroup();
    ASSERT_GT(group, 0);
    // The echo may still wait in the pipe when sleep already runs: a loaded machine reads it later.
    const std::string findSleep = "pgrep -x -g " + std::to_string(group) + " sleep";
    DeliverUntil(5000,
                 [&] { return m_text.ends_with("echo after\n") && !test::CaptureShell(findSleep).empty(); });
    ASSERT_FALSE(test::CaptureShell(findSleep).empty());

    m_launcher.Stop();
    EXPECT_FALSE(m_launcher.IsRunning());
    EXPECT_EQ(::kill(group, 0), -1) << "the shell was not collected";
    EXPECT_EQ(errno, ESRCH);
    // The killed sleep may wait a moment for its collection by init.
    EXPECT_TRUE(test::WaitUntil([&] { return ::kill(-group, 0) != 0; }, std::chrono::seconds(2)));
    DeliverUntil(300, [] { return false; });
    EXPECT_EQ(m_ends, 0);
    EXPECT_EQ(m_text, "trap '' TERM\nsleep 30; echo after\n");
}

} // namespace
} // namespace zantrove
