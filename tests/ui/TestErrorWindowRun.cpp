// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a run with collected errors: the error window first, then the shutdown countdown.
#include "platform/ConsoleLauncher.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "tests/support/FoldersOnlyPlatform.h"
#include "tests/support/TestHome.h"
#include "ui/ErrorWindow.h"
#include "ui/MainWindow.h"
#include "ui/ProcessingWindow.h"
#include "ui/ShutdownWindow.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace zantrove {
namespace {

class ScriptedLauncher : public ConsoleLauncher
{
public:
    static inline ScriptedLauncher* last = nullptr;
    ScriptedLauncher() { last = this; }
    ~ScriptedLauncher() override { last = nullptr; }
    StartStatus Start() override { return m_running = true, Started; }
    int LastError() const override { return 0; }
    void Stop() override { m_running = false; }
    bool IsRunning() const override { return m_running; }
    void Send(const std::string& data) { EmitData(data); }
    void End()
    {
        m_running = false;
        EmitEnded();
    }

private:
    bool m_running = false;
};

// The real platform, except that nothing is ever powered off.
class NoShutdownPlatform : public test::FoldersOnlyPlatform
{
public:
    using FoldersOnlyPlatform::FoldersOnlyPlatform;
    int shutdownRequests = 0;
    bool RequestShutdown() override { return ++shutdownRequests, false; }
};

class ErrorWindowRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::SetInstance(&m_platform);
        MessageBox::SetTestMode(true);
        MessageBox::ClearShown();
        const std::string data = test::MakeTempFolder("data");
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        ProcessingWindow::SetLauncherFactory([] { return std::make_unique<ScriptedLauncher>(); });
        m_main = std::make_unique<MainWindow>();
        m_main->Load({});
        m_window = m_main->MakeProcessingWindow(
            ConversionRun({{"00:00:02", "/in/a.avi"}, {"00:00:02", "/in/b.avi"}}, "/s/Zantrove.bat"));
        m_window->show();
        m_window->StartConversion();
        ASSERT_TRUE(ScriptedLauncher::last);
    }
    void TearDown() override
    {
        delete m_window.data();
        m_main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ProcessingWindow::SetLauncherFactory({});
        Platform::SetInstance(nullptr);
    }

    void RunWithErrors()
    {
        ScriptedLauncher::last->Send("'/s/Zantrove.exe' -i '/in/a.avi' -y '/out/a.mp4'\n");
        ScriptedLauncher::last->Send("/in/a.avi: Invalid data found when processing input\n");
        ScriptedLauncher::last->Send("'/s/Zantrove.exe' -i '/in/b.avi' -y '/out/b.mp4'\n");
        ScriptedLauncher::last->Send("/in/b.avi: Invalid data found when processing input\n");
        ScriptedLauncher::last->End();
    }

    ErrorWindow* Errors() const { return m_window->findChild<ErrorWindow*>("frmError"); }
    ShutdownWindow* Countdown() const { return m_window->findChild<ShutdownWindow*>("frmShutdown"); }

    NoShutdownPlatform m_platform{Platform::Instance()};
    std::unique_ptr<MainWindow> m_main;
    QPointer<ProcessingWindow> m_window;
};

TEST_F(ErrorWindowRunTest, CollectedErrorsAreShownInTheModalErrorWindow)
{
    RunWithErrors();
    ErrorWindow* errors = Errors();
    ASSERT_TRUE(errors);
    EXPECT_TRUE(errors->isVisible());
    EXPECT_EQ(errors->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(errors->parentWidget(), m_window.data());
    EXPECT_EQ(errors->Errors()->toPlainText(), "-/in/a.avi: Invalid data found when processing input\n"
                                               "-/in/b.avi: Invalid data found when processing input\n");
    EXPECT_TRUE(MessageBox::Shown().empty());

    QPointer<ErrorWindow> guard = errors;
    errors->CloseButton()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(guard);
    EXPECT_FALSE(Countdown()); // not asked for
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(ErrorWindowRunTest, TheCountdownFollowsOnlyOnceTheErrorsAreClosed)
{
    m_window->ShutdownComputer()->setChecked(true);
    RunWithErrors();
    ASSERT_TRUE(Errors());
    EXPECT_FALSE(Countdown());

    Errors()->CloseButton()->click();
    ShutdownWindow* countdown = Countdown();
    ASSERT_TRUE(countdown);
    EXPECT_TRUE(countdown->isVisible());
    EXPECT_EQ(countdown->windowModality(), Qt::ApplicationModal);
    countdown->CancelButton()->click();
    EXPECT_EQ(m_platform.shutdownRequests, 0);
}

TEST_F(ErrorWindowRunTest, WithoutErrorsTheCountdownComesAtOnce)
{
    m_window->ShutdownComputer()->setChecked(true);
    ScriptedLauncher::last->Send("'/s/Zantrove.exe' -i '/in/a.avi' -y '/out/a.mp4'\n");
    ScriptedLauncher::last->End();
    EXPECT_FALSE(Errors());
    ASSERT_TRUE(Countdown());
    EXPECT_TRUE(Countdown()->isVisible());
    Countdown()->CancelButton()->click();
    EXPECT_EQ(m_platform.shutdownRequests, 0);
}

} // namespace
} // namespace zantrove
