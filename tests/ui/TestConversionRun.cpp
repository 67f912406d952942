// SPDX-License-Identifier: GPL-3.0-or-later
// Whole runs from the window: the real launcher, the staged encoder and ffmpeg on generated clips.
#include "tests/media/MediaClips.h"
#include "tests/support/ToolProcess.h"
#include "tests/tools/TestIpod.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ErrorWindow.h"
#include "ui/VideoListActions.h"

#include <csignal>

namespace zantrove {
namespace {

// The window as the other window tests open it, but on the real platform: a cancel ends real processes.
class ConversionRunTest : public test::MainWindowTest
{
protected:
    void SetUp() override
    {
        Open(ZANTROVE_APP_DIR);
        Find<QLineEdit>("txtOutputDirectory")->setText(QString::fromStdString(m_out));
        m_window->SwitchDevice("iPhone");
    }

    void Add(const std::vector<std::string>& paths)
    {
        QStringList list;
        for (const std::string& path : paths)
            list.append(QString::fromStdString(path));
        m_window->VideoListCommands()->AddDroppedFiles(list);
        // The files go in one at a time while the event loop runs.
        auto* add = Find<PictureButton>("bttnAddVideos");
        ASSERT_TRUE(QTest::qWaitFor([add] { return add->isEnabled(); }, 30000));
        ASSERT_EQ(m_window->VideoList().Rows().size(), paths.size());
    }

    // Presses Convert on step 4; the encoder check runs beside the window.
    ProcessingWindow* Start()
    {
        GoToStep(4);
        Find<PictureButton>("bttnConvert")->click();
        const auto opened = [this] { return m_window->findChild<ProcessingWindow*>("frmProcessing"); };
        return QTest::qWaitFor(opened, 30000) ? opened() : nullptr;
    }

    // Waits until the given file of the run is being written.
    bool Writing(ProcessingWindow* window, int number, const std::string& name)
    {
        return QTest::qWaitFor([&] { return window->Progress().FileNumber() == number; }, 60000) &&
               QTest::qWaitFor([&] { return FileExists(m_out + "/" + name + ".mp4.part"); }, 30000);
    }

    std::string m_clips = test::MakeTempFolder("clips");
    std::string m_out = test::MakeTempFolder("out") + "/Converted";
};

TEST_F(ConversionRunTest, AKilledEncoderIsAFailureTheOtherFileReachesTheIpod)
{
    const std::string second = test::MakeClip(m_clips, "second", 30);
    Add({test::MakeClip(m_clips, "first", 1), second});
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
    EXPECT_FALSE(space->text().contains("will not fit"));

    ProcessingWindow* window = Start();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isModal());
    EXPECT_FALSE(Find("bttnConvert")->isVisible());
    ASSERT_TRUE(Writing(window, 2, "second"));
    // The encoder and its ffmpeg name the output, which no process of another test does.
    const pid_t encoder = test::FindProcess(m_out + "/second.mp4", "Zantrove.exe");
    ASSERT_GT(encoder, 0);
    ASSERT_EQ(::kill(encoder, SIGKILL), 0); // dies without a word
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Progress().Finished(); }, 120000));

    EXPECT_EQ(test::Find<QLabel>(window, "lblCurrentFile")->text(), "Finished! 1 converted, 1 failed");
    EXPECT_EQ(test::Find<QProgressBar>(window, "prgTotal")->value(), 3);
    EXPECT_TRUE(FileExists(m_out + "/first.mp4"));
    EXPECT_FALSE(FileExists(m_out + "/second.mp4"));
    ASSERT_EQ(ipod.Tracks().size(), 1u);
    EXPECT_EQ(ipod.Tracks()[0].title, "first");
    EXPECT_EQ(test::Find<QLabel>(window, "lblLibrary")->text(), "1 file is on the iPod \"Test iPod\".");
    // The collected errors name the second file and come in the error window, not in a message.
    ASSERT_TRUE(window->Outcome());
    const std::string errors = window->Outcome()->errorLog;
    EXPECT_NE(errors.find("-" + second + ": "), std::string::npos) << errors;
    EXPECT_TRUE(MessageBox::Shown().empty());
    EXPECT_TRUE(window->findChild<ErrorWindow*>("frmError"));
    EXPECT_EQ(m_window->NumberOfConvertedFiles(), before + 2);

    test::Find<QPushButton>(window, "cmdCancel")->click();
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return !m_window->findChild<ProcessingWindow*>("frmProcessing"); }, 10000));
    EXPECT_EQ(m_window->CurrentStep(), 1);
}

TEST_F(ConversionRunTest, CancelDuringTheSecondFileKeepsTheFirstAndEndsOnlyItsOwnEncoder)
{
    const std::string two = test::MakeClip(m_clips, "two", 30);
    Add({test::MakeClip(m_clips, "one", 1), two, test::MakeClip(m_clips, "three", 1)});
    ProcessingWindow* window = Start();
    ASSERT_TRUE(window);
    ASSERT_TRUE(Writing(window, 2, "two"));
    // A second copy of the program converts beside this run, with a quick profile.
    const std::string beside = test::MakeTempFolder("beside");
    const pid_t other = test::StartCliProcess(
        beside, {"convert", "--device", "iPod-Nano", "--profile", "6", "--output", beside + "/out", two});
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileExists(beside + "/out/two.m4v.part"); }, 60000));

    MessageBox::SetNextAnswer(MessageBox::Yes);
    test::Find<QPushButton>(window, "cmdCancel")->click();
    ASSERT_FALSE(MessageBox::Shown().empty());
    EXPECT_TRUE(MessageBox::Shown().back().text.starts_with("The conversion was cancelled!"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !test::FindProcess(m_out); }, 5000));
    EXPECT_TRUE(FileExists(m_out + "/one.mp4"));
    EXPECT_FALSE(FileExists(m_out + "/two.mp4"));
    EXPECT_TRUE(FileExists(m_out + "/two.mp4.part"));
    EXPECT_FALSE(FileExists(m_out + "/three.mp4.part"));
    EXPECT_EQ(m_window->CurrentStep(), 4);
    EXPECT_TRUE(Find("bttnConvert")->isVisible());
    EXPECT_EQ(test::WaitForCliProcess(other), 0) << test::ReadTextFile(beside + "/err.txt");
    EXPECT_TRUE(FileExists(beside + "/out/two.m4v"));
}

} // namespace
} // namespace zantrove
