// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window against a launcher the test drives, then what follows a run: the error window
// and the shutdown countdown.
#include "platform/ConsoleLauncher.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ErrorWindow.h"
#include "ui/ShutdownWindow.h"

#include <QPlainTextEdit>

namespace zantrove {
namespace {

class FakeLauncher : public ConsoleLauncher
{
public:
    static inline FakeLauncher* last = nullptr;

    FakeLauncher() { last = this; }
    ~FakeLauncher() override { last = nullptr; }
    Expected<void, Error> Start() override
    {
        m_running = true;
        return {};
    }
    void Stop() override { m_running = false, ++stops; }
    bool IsRunning() const override { return m_running; }
    void Send(const std::string& data) { EmitData(data); }
    void End() { m_running = false, EmitEnded(); }
    static inline int stops = 0; // counted past the launcher's end: a cancel drops it

private:
    bool m_running = false;
};

// Nothing is ended or powered off for real: a cancel here must never reach another test's encoder.
class ShutdownCountingPlatform : public test::LinkRecordingPlatform
{
public:
    using LinkRecordingPlatform::LinkRecordingPlatform;
    int shutdownRequests = 0;
    Expected<void, Error> RequestShutdown() override { return ++shutdownRequests, Refused(); }
};

const std::string kSource = "/in/a.avi";

class ProcessingWindowTest : public test::MainWindowTest
{
protected:
    void SetUp() override
    {
        Platform::SetInstance(&m_processes);
        FakeLauncher::stops = 0;
        m_makeLauncher = [] { return std::make_unique<FakeLauncher>(); };
        Open();
        NewRun();
    }
    void NewRun()
    {
        delete m_run.data();
        m_run = m_window->MakeProcessingWindow(
            ConversionRun({{"00:00:40", kSource}, {"00:00:20", "/in/b.avi"}}, "/s/Zantrove.bat"));
        m_run->show();
    }
    void TearDown() override
    {
        delete m_run.data();
        MainWindowTest::TearDown();
    }

    ErrorWindow* Errors() const { return m_run->findChild<ErrorWindow*>("frmError"); }
    ShutdownWindow* Countdown() const { return m_run->findChild<ShutdownWindow*>("frmShutdown"); }

    ShutdownCountingPlatform m_processes{Platform::Instance()};
    QPointer<ProcessingWindow> m_run;
};

// While running, the title bar's close asks and keeps the window on No; a confirmed Cancel stops
// the run, and the main window says so on the step the run was started from. After an end, the
// window closes as "&Close": back to the first step.
TEST_F(ProcessingWindowTest, ClosingWhileRunningAsksAndAfterTheEndGoesBackToStepOne)
{
    GoToStep(4);
    Find("bttnConvert")->hide(); // as while a run goes on
    m_run->StartConversion();
    MessageBox::SetNextAnswer(MessageBox::No);
    m_run->close();
    EXPECT_TRUE(m_run->isVisible());
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_TRUE(MessageBox::Shown()[0].text.starts_with("Are you sure you want to cancel?"));
    EXPECT_EQ(FakeLauncher::stops, 0);
    MessageBox::SetNextAnswer(MessageBox::Yes);
    test::Find<QPushButton>(m_run, "cmdCancel")->click();
    EXPECT_EQ(FakeLauncher::stops, 1);
    EXPECT_FALSE(m_run->isVisible());
    ASSERT_EQ(MessageBox::Shown().size(), 3u);
    EXPECT_TRUE(MessageBox::Shown()[2].text.starts_with("The conversion was cancelled!"));
    EXPECT_EQ(m_window->CurrentStep(), 4);
    EXPECT_TRUE(Find("bttnConvert")->isVisible());

    NewRun();
    m_run->StartConversion();
    FakeLauncher::last->End();
    test::Find<QPushButton>(m_run, "cmdOpenFolder")->click();
    EXPECT_EQ(m_processes.opened, (std::vector<std::string>{m_window->Session().OutputFolder()}));
    m_run->close();
    EXPECT_FALSE(m_run->isVisible());
    EXPECT_EQ(m_window->CurrentStep(), 1);
}

// The end of a run: collected errors come first in their own modal window, the countdown (if asked
// for) only once they are closed, and without errors at once; without it the window stays.
TEST_F(ProcessingWindowTest, ErrorsAreShownBeforeTheCountdown)
{
    for (const auto& [withErrors, shutdown] : {std::pair{true, true}, {false, true}, {true, false}}) {
        SCOPED_TRACE(testing::Message() << "errors " << withErrors << ", shutdown " << shutdown);
        NewRun();
        test::Find<QCheckBox>(m_run, "chkShutdownComputer")->setChecked(shutdown);
        m_run->StartConversion();
        FakeLauncher::last->Send("'/s/Zantrove.exe' -i '" + kSource + "' -y '/out/a.mp4'\n");
        FakeLauncher::last->Send(withErrors ? kSource + ": Invalid data found when processing input\n"
                                            : "Note: subtitle 3 left out\n");
        FakeLauncher::last->End();
        // A note is no error, and the window says it.
        const auto* notes = test::Find<QLabel>(m_run, "lblNotes");
        EXPECT_EQ(notes->isVisibleTo(m_run), !withErrors);
        if (!withErrors) {
            EXPECT_EQ(notes->text().toStdString(), kSource + ": subtitle 3 left out");
        } else {
            ASSERT_TRUE(Errors());
            ASSERT_TRUE(QTest::qWaitForWindowExposed(Errors()));
            const auto* log = test::Find<QPlainTextEdit>(Errors(), "txtErrors");
            EXPECT_EQ(log->toPlainText().toStdString(),
                      "-" + kSource + ": Invalid data found when processing input\n");
            EXPECT_FALSE(Countdown());
            test::Find<QPushButton>(Errors(), "cmdClose")->click();
            Flush();
        }
        EXPECT_FALSE(Errors());
        EXPECT_TRUE(m_run->isVisible());
        ASSERT_EQ(Countdown() != nullptr, shutdown);
        if (shutdown) { // Cancel stops the count
            ShutdownWindow* countdown = Countdown();
            test::Find<QPushButton>(countdown, "cmdCancel")->click();
            EXPECT_FALSE(countdown->isVisible());
            EXPECT_FALSE(test::Find<QTimer>(countdown, "tmrShutdown")->isActive());
        }
        EXPECT_EQ(m_processes.shutdownRequests, 0);
    }
}

// The timer ticks by itself; the 61st tick asks for the shutdown, once. An empty PATH guards the
// counting platform: even a mistake could not reach the system's power-off command.
TEST_F(ProcessingWindowTest, CountdownTicksAndRequestsTheShutdownOnceOnTheSixtyFirstTick)
{
    const test::ScopedEnv path("PATH", test::MakeTempFolder("nopath"));
    ShutdownWindow countdown;
    const auto label = [&countdown] { return test::Find<QLabel>(&countdown, "lblCountdown")->text(); };
    countdown.show();
    EXPECT_TRUE(QTest::qWaitFor(
        [&countdown] { return test::Find<QProgressBar>(&countdown, "prgShutdown")->value() != 0; }, 5000));
    EXPECT_EQ(label(), "Your computer will automatically shutdown in 59 seconds...");
    for (int tick = 2; tick <= 60; ++tick)
        countdown.tmrShutdown_Timer();
    EXPECT_EQ(m_processes.shutdownRequests, 0);
    countdown.tmrShutdown_Timer();
    countdown.tmrShutdown_Timer();
    EXPECT_EQ(m_processes.shutdownRequests, 1);
    EXPECT_FALSE(test::Find<QTimer>(&countdown, "tmrShutdown")->isActive());
    // The stand-in platform refuses: the window says so, and can be closed again.
    EXPECT_EQ(label(), "The computer could not be shut down.");
    QTest::keyClick(&countdown, Qt::Key_Escape);
    EXPECT_FALSE(countdown.isVisible());
}

} // namespace
} // namespace zantrove
