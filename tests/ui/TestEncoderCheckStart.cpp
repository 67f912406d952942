// SPDX-License-Identifier: GPL-3.0-or-later
// The window refuses a start whose encoder check fails, with a critical message and nothing written.
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "tests/media/MediaClips.h"
#include "tests/support/TestHome.h"
#include "ui/MainWindow.h"
#include "ui/OutputStep.h"
#include "ui/PictureButton.h"
#include "ui/ProcessingWindow.h"
#include "ui/VideoListActions.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace zantrove {
namespace {

namespace fs = std::filesystem;

class EncoderCheckStartTest : public ::testing::Test
{
protected:
    void Open(const std::string& applicationFolder)
    {
        MessageBox::SetTestMode(true);
        MessageBox::ClearShown();
        const std::string data = test::MakeTempFolder("data");
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        m_window = std::make_unique<MainWindow>(Clock::System(), nullptr, applicationFolder);
        m_window->Load({});
        m_window->show();
        m_window->Step3()->OutputDirectory()->setText(QString::fromStdString(m_out));
        m_window->SwitchDevice("iPhone");
        const std::string clip = test::ClipPath(test::Clip::H264AacMp4);
        ASSERT_FALSE(clip.empty());
        m_window->VideoListCommands()->AddDroppedFiles({QString::fromStdString(clip)});
        QTest::qWait(50); // drops are taken once the event loop runs
        ASSERT_EQ(m_window->VideoList().Rows().size(), 1u);
    }

    // Presses Convert and gives back the one message the start showed. The check runs beside the
    // window: the press returns at once and the window keeps handling events until the answer.
    UserMessage Refusal()
    {
        for (int step = 1; step < 4; ++step)
            m_window->bttnNext_Click();
        QElapsedTimer pressed;
        pressed.start();
        m_window->ConvertButton()->click();
        EXPECT_LT(pressed.elapsed(), 1000);
        bool handled = false;
        QTimer::singleShot(0, m_window.get(), [&handled] { handled = true; });
        EXPECT_TRUE(QTest::qWaitFor([] { return !MessageBox::Shown().empty(); }, 30000));
        EXPECT_TRUE(handled);
        EXPECT_EQ(m_window->findChild<ProcessingWindow*>("frmProcessing"), nullptr);
        EXPECT_TRUE(m_window->ConvertButton()->isVisible());
        EXPECT_FALSE(FolderExists(m_out));
        const std::vector<UserMessage>& shown = MessageBox::Shown();
        EXPECT_EQ(shown.size(), 1u);
        return shown.empty() ? UserMessage{} : shown.back();
    }

    void TearDown() override
    {
        m_window.reset();
        MessageBox::SetTestMode(false);
    }

    std::string m_out = test::MakeTempFolder("out") + "/Converted";
    std::unique_ptr<MainWindow> m_window;
};

TEST_F(EncoderCheckStartTest, MissingComponentIsNamed)
{
    const std::string folder = test::MakeTempFolder("app");
    fs::copy(ZANTROVE_APP_DIR "/Profiles", folder + "/Profiles");
    Open(folder);
    const UserMessage message = Refusal();
    EXPECT_EQ(message.icon, MessageIcon::Critical);
    EXPECT_EQ(message.text, "The conversion could not be started.\r\nThe encoder component is missing: " +
                                folder + "/Components/Zantrove.dll\r\nPlease, reinstall Zantrove.");
}

TEST_F(EncoderCheckStartTest, NoFfmpegNamesThePackage)
{
    ASSERT_FALSE(FileExists(ZANTROVE_APP_DIR "/Components/ffmpeg"));
    Open(ZANTROVE_APP_DIR);
    const char* saved = std::getenv("PATH");
    const std::string path = saved ? saved : "";
    ::setenv("PATH", test::MakeTempFolder("nopath").c_str(), 1);
    const UserMessage message = Refusal();
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(message.icon, MessageIcon::Critical);
    EXPECT_EQ(message.text,
              "The conversion could not be started.\r\nno ffmpeg found; install the Debian package ffmpeg");
}

TEST_F(EncoderCheckStartTest, SlowCheckLeavesTheWindowResponsive)
{
    const std::string folder = test::MakeTempFolder("app");
    fs::copy(ZANTROVE_APP_DIR "/Profiles", folder + "/Profiles");
    fs::create_directories(folder + "/Components");
    const std::string component = folder + "/Components/Zantrove.dll";
    test::WriteTextFile(component, "#!/bin/sh\nsleep 2\necho 'Zantrove: no ffmpeg here'\nexit 2\n");
    fs::permissions(component, fs::perms::owner_all);
    Open(folder);
    const UserMessage message = Refusal();
    EXPECT_EQ(message.text, "The conversion could not be started.\r\nno ffmpeg here");
}

} // namespace
} // namespace zantrove
