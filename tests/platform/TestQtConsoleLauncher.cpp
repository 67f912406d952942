// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtConsoleLauncher.h"
#include "tests/platform/ScriptSamples.h"
#include "tests/support/TestHome.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zantrove {
namespace {

struct Recorder
{
    std::vector<std::string> pieces;
    std::vector<std::string> events;
    int ends = 0;
    bool offMainThread = false;

    void Attach(ConsoleLauncher& launcher)
    {
        launcher.SetDataReceived([this](const std::string& data) {
            offMainThread = offMainThread || QThread::currentThread() != qApp->thread();
            pieces.push_back(data);
            events.push_back(data);
        });
        launcher.SetProcessEnded([this] {
            offMainThread = offMainThread || QThread::currentThread() != qApp->thread();
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

// Runs the event loop until the launcher has ended or the time is up.
void RunUntilEnded(const Recorder& recorder, int limitMs = 20000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (recorder.ends == 0 && elapsed.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
}

void RunEventsFor(int ms)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
}

TEST(QtConsoleLauncherTest, DeliversOnTheMainThreadThroughTheEventLoop)
{
    const auto sample = test::WriteLongOutputScript(test::MakeTempFolder("script"));
    QtConsoleLauncher launcher;
    Recorder recorder;
    recorder.Attach(launcher);
    launcher.SetScript(sample.path);
    ASSERT_EQ(launcher.Start(), ConsoleLauncher::Started);
    // Output is waiting in the pipe by now, yet nothing arrives until the event loop runs.
    ::usleep(300000);
    EXPECT_TRUE(recorder.events.empty());

    RunUntilEnded(recorder);
    EXPECT_FALSE(recorder.offMainThread);
    EXPECT_EQ(recorder.ends, 1);
    ASSERT_FALSE(recorder.events.empty());
    EXPECT_EQ(recorder.events.back(), "<end>");
    EXPECT_EQ(test::FirstSplitLine(recorder.pieces), "");
    EXPECT_EQ(recorder.Text(), sample.expectedOutput);
    EXPECT_FALSE(launcher.IsRunning());

    RunEventsFor(200);
    EXPECT_EQ(recorder.ends, 1);
}

TEST(QtConsoleLauncherTest, ANestedEventLoopInAHandlerGetsNoFurtherPiece)
{
    const std::string folder = test::MakeTempFolder("script");
    QtConsoleLauncher launcher;
    int depth = 0;
    int deepest = 0;
    int pieces = 0;
    int ends = 0;
    launcher.SetDataReceived([&](const std::string&) {
        ++depth;
        deepest = std::max(deepest, depth);
        if (++pieces == 1) {
            // As a message box would: a local event loop while more output waits in the pipe.
            QEventLoop local;
            QTimer::singleShot(300, &local, &QEventLoop::quit);
            local.exec();
        }
        --depth;
    });
    launcher.SetProcessEnded([&] { ++ends; });
    launcher.SetScript(test::WriteScript(folder, "lines.sh", "echo a\necho b\necho c\n"));
    ASSERT_EQ(launcher.Start(), ConsoleLauncher::Started);
    QElapsedTimer elapsed;
    elapsed.start();
    while (ends == 0 && elapsed.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(pieces, 6);
    EXPECT_EQ(ends, 1);
}

TEST(QtConsoleLauncherTest, MissingScriptCannotStart)
{
    QtConsoleLauncher launcher;
    Recorder recorder;
    recorder.Attach(launcher);
    launcher.SetScript(test::MakeTempFolder("script") + "/missing.sh");
    EXPECT_EQ(launcher.Start(), ConsoleLauncher::CouldNotStart);
    EXPECT_EQ(launcher.LastError(), ENOENT);
    EXPECT_FALSE(launcher.IsRunning());
    RunEventsFor(100);
    EXPECT_TRUE(recorder.events.empty());
}

TEST(QtConsoleLauncherTest, SecondStartWhileRunningIsRefused)
{
    const std::string folder = test::MakeTempFolder("script");
    QtConsoleLauncher launcher;
    Recorder recorder;
    recorder.Attach(launcher);
    launcher.SetScript(test::WriteScript(folder, "wait.sh", "sleep 0.3\necho done\n"));
    ASSERT_EQ(launcher.Start(), ConsoleLauncher::Started);
    EXPECT_EQ(launcher.Start(), ConsoleLauncher::AlreadyRunning);
    RunUntilEnded(recorder);
    EXPECT_EQ(recorder.Text(), "sleep 0.3\necho done\ndone\n");
    EXPECT_EQ(recorder.ends, 1);
}

TEST(QtConsoleLauncherTest, StopEndsTheWholeGroupAtOnceWithoutNotifications)
{
    const std::string folder = test::MakeTempFolder("script");
    QtConsoleLauncher launcher;
    Recorder recorder;
    recorder.Attach(launcher);
    launcher.SetScript(test::WriteScript(folder, "sleep.sh", "sleep 30; echo after\n"));
    ASSERT_EQ(launcher.Start(), ConsoleLauncher::Started);
    const pid_t group = launcher.ProcessGroup();
    ASSERT_GT(group, 0);

    QElapsedTimer waiting;
    waiting.start();
    bool sleeping = false;
    // The echo may still wait in the pipe when sleep already runs: a loaded machine reads it later.
    while ((!sleeping || recorder.Text().empty()) && waiting.elapsed() < 5000) {
        RunEventsFor(20);
        for (const auto& member : test::LiveGroupMembers(group))
            sleeping = sleeping || member.name == "sleep";
    }
    ASSERT_TRUE(sleeping);

    QElapsedTimer stopping;
    stopping.start();
    launcher.Stop();
    EXPECT_LT(stopping.elapsed(), 3000);
    EXPECT_FALSE(launcher.IsRunning());
    EXPECT_TRUE(test::LiveGroupMembers(group).empty());

    const std::size_t eventsAtStop = recorder.events.size();
    RunEventsFor(300);
    EXPECT_EQ(recorder.events.size(), eventsAtStop);
    EXPECT_EQ(recorder.ends, 0);
    EXPECT_EQ(recorder.Text(), "sleep 30; echo after\n");
}

} // namespace
} // namespace zantrove
