// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Platform.h"
#include "tests/support/TestHome.h"
#include "ui/ShutdownWindow.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>

namespace zantrove {
namespace {

// Counts shutdown requests instead of powering anything off.
class FakeShutdownPlatform : public Platform
{
public:
    int shutdownRequests = 0;

    FolderLookup ShellFolder(int) const override { return {}; }
    std::string ApplicationFolder() const override { return {}; }
    std::string HomeFolder() const override { return {}; }
    bool ShellOpen(const std::string&) override { return false; }
    std::vector<ProcessEntry> ListProcesses() const override { return {}; }
    bool TerminateProcess(int) override { return false; }
    bool RequestShutdown() override
    {
        ++shutdownRequests;
        return true;
    }
};

class ShutdownWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The fake is in place before any window exists; an empty PATH is a second guard, so even
        // a mistake could not reach the system's power-off command.
        Platform::SetInstance(&m_platform);
        const char* path = std::getenv("PATH");
        m_savedPath = path ? path : "";
        ::setenv("PATH", test::MakeTempFolder("nopath").c_str(), 1);
        m_window = std::make_unique<ShutdownWindow>();
    }
    void TearDown() override
    {
        m_window.reset();
        ::setenv("PATH", m_savedPath.c_str(), 1);
        Platform::SetInstance(nullptr);
    }

    QString Label() const { return m_window->CountdownLabel()->text(); }
    bool LabelIsRed() const
    {
        m_window->CountdownLabel()->ensurePolished();
        return m_window->CountdownLabel()->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
    }

    FakeShutdownPlatform m_platform;
    std::string m_savedPath;
    std::unique_ptr<ShutdownWindow> m_window;
};

TEST_F(ShutdownWindowTest, OpensWithSixtySecondsAndStartsCountingWhenShown)
{
    EXPECT_EQ(m_window->objectName(), "frmShutdown");
    EXPECT_EQ(m_window->windowTitle(), "Shutdown Computer");
    auto* title = m_window->findChild<QLabel*>("lblWizardText");
    auto* subtitle = m_window->findChild<QLabel*>("lblWizardSubText");
    ASSERT_TRUE(title && subtitle);
    EXPECT_EQ(title->text(), "Shutdown Computer");
    EXPECT_EQ(subtitle->text(), "Shutdown your computer automatically...");
    EXPECT_EQ(Label(), "Your computer will automatically shutdown in 60 seconds...");
    EXPECT_EQ(m_window->CountdownLabel()->objectName(), "lblCountdown");
    EXPECT_EQ(m_window->ProgressBar()->objectName(), "prgShutdown");
    EXPECT_EQ(m_window->ProgressBar()->minimum(), 0);
    EXPECT_EQ(m_window->ProgressBar()->maximum(), 60);
    EXPECT_EQ(m_window->ProgressBar()->value(), 0);
    EXPECT_EQ(m_window->CancelButton()->objectName(), "cmdCancel");
    EXPECT_EQ(m_window->CancelButton()->text(), "&Cancel");
    EXPECT_TRUE(m_window->CancelButton()->isEnabled());
    EXPECT_FALSE(LabelIsRed());
    EXPECT_EQ(m_window->Timer()->objectName(), "tmrShutdown");
    EXPECT_EQ(m_window->Timer()->interval(), 1000);
    EXPECT_FALSE(m_window->Timer()->isActive());

    m_window->show();
    EXPECT_TRUE(m_window->Timer()->isActive());
}

TEST_F(ShutdownWindowTest, TheTimerTicksOnItsOwn)
{
    m_window->show();
    QElapsedTimer elapsed;
    elapsed.start();
    while (m_window->ProgressBar()->value() == 0 && elapsed.elapsed() < 5000)
        QTest::qWait(50);
    EXPECT_EQ(m_window->ProgressBar()->value(), 1);
    EXPECT_EQ(Label(), "Your computer will automatically shutdown in 59 seconds...");
    EXPECT_GE(elapsed.elapsed(), 800);
    EXPECT_EQ(m_platform.shutdownRequests, 0);
}

TEST_F(ShutdownWindowTest, ShutdownIsRequestedOnceOnTheSixtyFirstTick)
{
    m_window->show();
    int singular = 0;
    int zero = 0;
    for (int tick = 1; tick <= 60; ++tick) {
        m_window->tmrShutdown_Timer();
        EXPECT_EQ(m_window->ProgressBar()->value(), tick);
        EXPECT_EQ(m_platform.shutdownRequests, 0) << "tick " << tick;
        EXPECT_TRUE(m_window->CancelButton()->isEnabled());
        singular += Label() == "Your computer will automatically shutdown in 1 second..." ? 1 : 0;
        zero += Label() == "Your computer will automatically shutdown in 0 seconds..." ? 1 : 0;
        if (tick == 1) {
            EXPECT_EQ(Label(), "Your computer will automatically shutdown in 59 seconds...");
        }
        if (tick == 58) {
            EXPECT_EQ(Label(), "Your computer will automatically shutdown in 2 seconds...");
        }
    }
    EXPECT_EQ(singular, 1);
    EXPECT_EQ(zero, 1);
    EXPECT_FALSE(LabelIsRed());
    EXPECT_TRUE(m_window->Timer()->isActive());

    m_window->tmrShutdown_Timer();
    EXPECT_EQ(m_platform.shutdownRequests, 1);
    EXPECT_EQ(Label(), "Shutting down computer...");
    EXPECT_TRUE(LabelIsRed());
    EXPECT_FALSE(m_window->CancelButton()->isEnabled());
    EXPECT_FALSE(m_window->Timer()->isActive());
    EXPECT_EQ(m_window->ProgressBar()->value(), 60);

    m_window->tmrShutdown_Timer();
    EXPECT_EQ(m_platform.shutdownRequests, 1);
    // Esc no longer closes it: Cancel is disabled.
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    EXPECT_TRUE(m_window->isVisible());
}

TEST_F(ShutdownWindowTest, CancelAfterThirtySecondsShutsNothingDown)
{
    m_window->open();
    for (int tick = 0; tick < 30; ++tick)
        m_window->tmrShutdown_Timer();
    EXPECT_EQ(Label(), "Your computer will automatically shutdown in 30 seconds...");
    m_window->CancelButton()->click();
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_window->result(), QDialog::Rejected);
    EXPECT_FALSE(m_window->Timer()->isActive());
    QTest::qWait(1300);
    EXPECT_EQ(m_window->ProgressBar()->value(), 30);
    EXPECT_EQ(m_platform.shutdownRequests, 0);
}

TEST_F(ShutdownWindowTest, EscapePressesCancel)
{
    m_window->show();
    m_window->tmrShutdown_Timer();
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(m_window->Timer()->isActive());
    EXPECT_EQ(m_platform.shutdownRequests, 0);
}

} // namespace
} // namespace zantrove
