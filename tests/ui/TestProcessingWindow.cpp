// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window against a launcher the test drives, with a clock the test moves.
#include "platform/ConsoleLauncher.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "tests/support/FoldersOnlyPlatform.h"
#include "tests/support/TestHome.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"
#include "ui/ProcessingWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace zantrove {
namespace {
using namespace std::chrono_literals;

class FakeLauncher : public ConsoleLauncher
{
public:
    static inline FakeLauncher* last = nullptr;
    static inline StartStatus nextStatus = Started;

    FakeLauncher() { last = this; }
    ~FakeLauncher() override { last = nullptr; }
    StartStatus Start() override { return m_running = nextStatus == Started, nextStatus; }
    int LastError() const override { return 2; }
    void Stop() override
    {
        m_running = false;
        ++stops;
    }
    bool IsRunning() const override { return m_running; }
    int ProcessGroup() const override { return m_running ? 90 : -1; }
    void Send(const std::string& data) { EmitData(data); }
    void End()
    {
        m_running = false;
        EmitEnded();
    }
    int stops = 0;

private:
    bool m_running = false;
};

class FakeClock : public Clock
{
public:
    std::chrono::system_clock::time_point Now() const override { return m_now; }
    void Advance(std::chrono::seconds by) { m_now += by; }

private:
    std::chrono::system_clock::time_point m_now{std::chrono::hours(1)};
};

// The real platform, except that the process list holds one encoder of our own and nothing is
// ended for real: a cancel here must never reach another test's encoder.
class OwnProcessesPlatform : public test::FoldersOnlyPlatform
{
public:
    using FoldersOnlyPlatform::FoldersOnlyPlatform;
    std::vector<int> terminated;
    std::vector<ProcessEntry> ListProcesses() const override
    {
        // The last is the encoder of a second run beside this one.
        return {{4711, "Zantrove.exe", "/s/Zantrove.exe", 90},
                {4712, "bash", "/usr/bin/bash", 90},
                {4713, "Zantrove.exe", "/s/Zantrove.exe", 91}};
    }
    bool TerminateProcess(int pid) override { return terminated.push_back(pid), true; }
};

const std::string kEcho = "'/s/Zantrove.exe' -i '/in/a.avi' -y '/out/a.mp4'\n";

class ProcessingWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::SetInstance(&m_platform);
        MessageBox::SetTestMode(true);
        const std::string data = test::MakeTempFolder("data");
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        ProcessingWindow::SetLauncherFactory([] { return std::make_unique<FakeLauncher>(); });
        FakeLauncher::nextStatus = ConsoleLauncher::Started;
        m_main.Load({});
        m_window = m_main.MakeProcessingWindow(ConversionRun(
            {{"00:00:40", "/in/a.avi"}, {"00:00:20", "/in/b.avi"}}, "/s/Zantrove.bat", {40, 20}, m_clock));
        m_window->show();
    }
    void TearDown() override
    {
        delete m_window.data();
        ProcessingWindow::SetLauncherFactory({});
        Platform::SetInstance(nullptr);
    }

    OwnProcessesPlatform m_platform{Platform::Instance()};
    FakeClock m_clock;
    MainWindow m_main;
    QPointer<ProcessingWindow> m_window;
};

TEST_F(ProcessingWindowTest, OpensInitializing)
{
    EXPECT_EQ(m_window->windowTitle(), "Converting Video Files...");
    EXPECT_EQ(m_window->CurrentFile()->text(), "Initializing...");
    EXPECT_EQ(m_window->Status()->text(), "Initializing...");
    EXPECT_EQ(m_window->TotalBar()->maximum(), 3);
    EXPECT_EQ(m_window->CancelButton()->text(), "&Cancel");
    EXPECT_EQ(m_window->ShutdownComputer()->text(), "Automatically shutdown computer when done");
    EXPECT_FALSE(m_window->ShutdownComputer()->isChecked());
}

TEST_F(ProcessingWindowTest, StartRefusalsAreShown)
{
    FakeLauncher::nextStatus = ConsoleLauncher::AlreadyRunning;
    m_window->StartConversion();
    FakeLauncher::nextStatus = ConsoleLauncher::CouldNotStart;
    m_window->StartConversion();
    ASSERT_EQ(MessageBox::Shown().size(), 2u);
    EXPECT_EQ(MessageBox::Shown()[0].text, "Zantrove is already converting one or more files!");
    EXPECT_EQ(MessageBox::Shown()[1].text, "An error occured!\rError Details: 2");
    EXPECT_EQ(m_window->CurrentFile()->text(), "Initializing...");
}

TEST_F(ProcessingWindowTest, OutputDrivesBarsCaptionAndTimeLeft)
{
    const int converted = m_main.NumberOfConvertedFiles();
    m_window->StartConversion();
    ASSERT_TRUE(FakeLauncher::last);
    FakeLauncher::last->Send(kEcho);
    EXPECT_EQ(m_window->CurrentFile()->text(), "Processing File: 1 of 2...");
    EXPECT_EQ(m_main.NumberOfConvertedFiles(), converted + 1);
    EXPECT_TRUE(m_window->TimeLeft()->text().endsWith("Estimating..."));
    m_clock.Advance(5s);
    FakeLauncher::last->Send("frame=1 time=5.00 bitrate=1\r");
    m_clock.Advance(5s);
    FakeLauncher::last->Send("frame=2 time=10.00 bitrate=1\r");
    EXPECT_EQ(m_window->CurrentBar()->value(), 10);
    EXPECT_EQ(m_window->CurrentBar()->maximum(), 40);
    EXPECT_EQ(m_window->windowTitle(), "Converting Video Files...(25%)");
    EXPECT_EQ(m_window->Status()->text(), "frame=2 time=10.00 bitrate=1");
    // 10 media seconds in 10 s, 50 left.
    EXPECT_EQ(m_window->TimeLeft()->text(), "Elapsed: 00:00:10 - Time left: 00:00:50");
    FakeLauncher::last->End();
    EXPECT_EQ(m_window->windowTitle(), "Converting Video Files...Finished!");
    EXPECT_EQ(m_window->CancelButton()->text(), "&Close");
    EXPECT_EQ(m_window->TotalBar()->value(), 3);
}

TEST_F(ProcessingWindowTest, TitleBarCloseAsksWhileRunningAndClosesAfterTheEnd)
{
    m_window->StartConversion();
    FakeLauncher* launcher = FakeLauncher::last;
    MessageBox::SetNextAnswer(MessageBox::No);
    m_window->close();
    EXPECT_TRUE(m_window->isVisible());
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(MessageBox::Shown()[0].text, "Are you sure you want to cancel?\r\nVideo files that have been "
                                           "converted already will not be removed.");
    EXPECT_EQ(launcher->stops, 0);
    launcher->End();
    m_main.ShowWizardStep(4);
    m_window->close();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_main.CurrentStep(), 1); // closed as "&Close": back to the first step
}

TEST_F(ProcessingWindowTest, ConfirmedCancelStopsTheLauncherAndTellsTheMainWindow)
{
    m_window->StartConversion();
    MessageBox::SetNextAnswer(MessageBox::Yes);
    m_window->CancelButton()->click();
    EXPECT_FALSE(FakeLauncher::last);                         // stopped and released
    EXPECT_EQ(m_platform.terminated, std::vector<int>{4711}); // its own encoder, by its name
    EXPECT_FALSE(m_window->isVisible());
    ASSERT_EQ(MessageBox::Shown().size(), 2u);
    EXPECT_EQ(MessageBox::Shown()[1].text.substr(0, 29), "The conversion was cancelled!");
}

} // namespace
} // namespace zantrove
