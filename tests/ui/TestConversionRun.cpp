// SPDX-License-Identifier: GPL-3.0-or-later
// Whole runs from the window: the real launcher, the staged encoder and ffmpeg on generated clips.
#include "tests/media/MediaClips.h"
#include "tests/support/ToolProcess.h"
#include "tests/tools/TestIpod.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/VideoListActions.h"

#include <csignal>

namespace zantrove {
namespace {

class ConversionRunTest : public test::MainWindowTest
{
protected:
    // As the other window tests open it, but on the real platform: the real processes run.
    void SetUp() override { Open(ZANTROVE_APP_DIR); }
};

TEST_F(ConversionRunTest, AKilledEncoderIsAFailureTheOtherFileReachesTheIpod)
{
    const std::string out = test::MakeTempFolder("out") + "/Converted";
    Find<QLineEdit>("txtOutputDirectory")->setText(QString::fromStdString(out));
    m_window->SwitchDevice("iPhone");
    const std::string clips = test::MakeTempFolder("clips");
    const std::string second = test::MakeClip(clips, "second", 30);
    m_window->VideoListCommands()->AddDroppedFiles(
        {QString::fromStdString(test::MakeClip(clips, "first", 1)), QString::fromStdString(second)});
    // The files go in one at a time while the event loop runs.
    auto* add = Find<PictureButton>("bttnAddVideos");
    ASSERT_TRUE(QTest::qWaitFor([add] { return add->isEnabled(); }, 30000));
    ASSERT_EQ(m_window->VideoList().Count(), 2);
    const int before = m_window->NumberOfConvertedFiles();
    const test::TestIpod ipod;
    ASSERT_TRUE(ipod.Made());
    // The review names the iPod's free space only with the library option on.
    const auto* space = Find<QLabel>("lblIpodSpace");
    for (const bool library : {true, false, true}) {
        Find<QCheckBox>("chkAddToiTunes")->setChecked(library);
        GoToStep(3);
        GoToStep(4);
        EXPECT_EQ(space->isVisible(), library);
    }
    EXPECT_TRUE(space->text().contains(" free on the iPod JO S IPOD")) << space->text().toStdString();

    // The encoder check runs beside the window.
    Find<PictureButton>("bttnConvert")->click();
    const auto opened = [this] { return m_window->findChild<ProcessingWindow*>("frmProcessing"); };
    ASSERT_TRUE(QTest::qWaitFor(opened, 30000));
    ProcessingWindow* window = opened();
    EXPECT_FALSE(Find("bttnConvert")->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Progress().FileNumber() == 2; }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileExists(out + "/second.mp4.part"); }, 30000));
    // The encoder and its ffmpeg name the output, which no process of another test does.
    const pid_t encoder = test::FindProcess(out + "/second.mp4", "Zantrove.exe");
    ASSERT_GT(encoder, 0);
    ASSERT_EQ(::kill(encoder, SIGKILL), 0); // dies without a word
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Progress().Finished(); }, 120000));

    EXPECT_EQ(test::Find<QLabel>(window, "lblCurrentFile")->text(), "Finished! 1 converted, 1 failed");
    EXPECT_TRUE(FileExists(out + "/first.mp4"));
    EXPECT_FALSE(FileExists(out + "/second.mp4"));
    ASSERT_EQ(ipod.Tracks().size(), 1u);
    EXPECT_EQ(ipod.Tracks()[0].title, "first");
    EXPECT_EQ(test::Find<QLabel>(window, "lblLibrary")->text(), "1 file is on the iPod \"Test iPod\".");
    ASSERT_TRUE(window->Outcome());
    const std::string errors = window->Outcome()->errorLog;
    EXPECT_NE(errors.find("-" + second + ": "), std::string::npos) << errors;
    EXPECT_EQ(m_window->NumberOfConvertedFiles(), before + 2);

    test::Find<QPushButton>(window, "cmdCancel")->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opened(); }, 10000));
    EXPECT_EQ(m_window->CurrentStep(), 1);
}

} // namespace
} // namespace zantrove
