// SPDX-License-Identifier: GPL-3.0-or-later
// Whole runs from the window: the real launcher, the staged encoder and ffmpeg on generated clips.
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CliProcess.h"
#include "tests/support/TestHome.h"
#include "tests/tools/TestIpod.h"
#include "ui/ErrorWindow.h"
#include "ui/MainWindow.h"
#include "ui/OutputStep.h"
#include "ui/PictureButton.h"
#include "ui/ProcessingWindow.h"
#include "ui/VideoListActions.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace zantrove {
namespace {
using test::ClipPath;
using test::RunShell;
using test::ShellQuote;

// A clip of its own name, so each row has a distinct output.
std::string MakeClip(const std::string& folder, const std::string& name, int seconds)
{
    const std::string path = folder + "/" + name + ".mp4";
    const std::string command = "ffmpeg -v error -f lavfi -i testsrc2=size=160x120:rate=25 -f lavfi -i "
                                "sine=frequency=440:sample_rate=44100 -t " +
                                std::to_string(seconds) + " -c:v libx264 -preset ultrafast -c:a aac -y " +
                                ShellQuote(path);
    return RunShell(command) ? path : std::string();
}

// A killed process stays listed until it is reaped; only a running one counts.
bool Running(const ProcessEntry& process)
{
    std::ifstream stat("/proc/" + std::to_string(process.pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t end = text.rfind(')');
    return end != std::string::npos && end + 2 < text.size() && text[end + 2] != 'Z' && text[end + 2] != 'X';
}

// Whether a running process of this run is left: the encoder and its ffmpeg both name the output
// folder on their command line, which no process of another test does.
bool Alive(const std::string& outputFolder)
{
    for (const ProcessEntry& process : Platform::Instance().ListProcesses()) {
        std::ifstream file("/proc/" + std::to_string(process.pid) + "/cmdline");
        const std::string commandLine((std::istreambuf_iterator<char>(file)),
                                      std::istreambuf_iterator<char>());
        if (commandLine.find(outputFolder) != std::string::npos && commandLine.find("/bin/sh") != 0 &&
            Running(process))
            return true;
    }
    return false;
}

class ConversionRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MessageBox::SetTestMode(true);
        const std::string data = test::MakeTempFolder("data");
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        m_window = std::make_unique<MainWindow>(Clock::System(), nullptr, ZANTROVE_APP_DIR);
        m_window->Load({});
        m_window->show();
        m_window->Step3()->OutputDirectory()->setText(QString::fromStdString(m_out));
        m_window->SwitchDevice("iPhone");
    }

    void Add(const std::vector<std::string>& paths)
    {
        QStringList list;
        for (const std::string& path : paths)
            list.append(QString::fromStdString(path));
        m_window->VideoListCommands()->AddDroppedFiles(list);
        QTest::qWait(50); // drops are taken once the event loop runs
        ASSERT_EQ(m_window->VideoList().Rows().size(), paths.size());
    }

    ProcessingWindow* Start()
    {
        for (int step = 1; step < 4; ++step)
            m_window->bttnNext_Click();
        m_window->ConvertButton()->click();
        // The encoder check runs beside the window; the progress window follows its answer.
        const auto opened = [this] { return m_window->findChild<ProcessingWindow*>("frmProcessing"); };
        return QTest::qWaitFor(opened, 30000) ? opened() : nullptr;
    }

    std::string m_clips = test::MakeTempFolder("clips");
    std::string m_out = test::MakeTempFolder("out") + "/Converted";
    std::unique_ptr<MainWindow> m_window;
};

// Kills the encoder of this run's file; encoders of other runs are left alone.
bool KillEncoderOf(const std::string& output)
{
    for (const ProcessEntry& process : Platform::Instance().ListProcesses()) {
        std::ifstream file("/proc/" + std::to_string(process.pid) + "/cmdline");
        const std::string commandLine((std::istreambuf_iterator<char>(file)),
                                      std::istreambuf_iterator<char>());
        if (process.name == "Zantrove.exe" && commandLine.find(output) != std::string::npos)
            return ::kill(process.pid, SIGKILL) == 0;
    }
    return false;
}

TEST_F(ConversionRunTest, BrokenFileAndKilledEncoderAreBothFailuresAndCounted)
{
    const std::string broken = m_clips + "/broken.avi";
    test::WriteTextFile(broken, "this is not a video");
    const std::string third = MakeClip(m_clips, "third", 30);
    Add({MakeClip(m_clips, "first", 1), broken, third});
    const int before = m_window->NumberOfConvertedFiles();
    const test::TestIpod ipod;
    ASSERT_TRUE(ipod.Made());
    m_window->Step3()->AddToLibrary()->setChecked(true);

    ProcessingWindow* window = Start();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isModal());
    EXPECT_FALSE(m_window->ConvertButton()->isVisible());
    // The third file's encoder dies without a word.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Progress().FileNumber() == 3; }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileExists(m_out + "/third.mp4.part"); }, 30000));
    ASSERT_TRUE(KillEncoderOf(m_out + "/third.mp4"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Progress().Finished(); }, 120000));

    EXPECT_EQ(window->CancelButton()->text(), "&Close");
    EXPECT_EQ(window->windowTitle(), "Converting Video Files...Finished! 1 converted, 2 failed");
    EXPECT_EQ(window->CurrentFile()->text(), "Finished! 1 converted, 2 failed");
    EXPECT_EQ(window->TotalBar()->value(), 4);
    EXPECT_TRUE(FileExists(m_out + "/first.mp4"));
    EXPECT_FALSE(FileExists(m_out + "/third.mp4"));
    EXPECT_FALSE(FileExists(m_out + "/broken.mp4"));
    // The one converted file is on the iPod, and the window says so.
    std::vector<std::string> titles;
    for (const test::TestIpod::Track& track : ipod.Tracks())
        titles.push_back(track.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"first"}));
    EXPECT_TRUE(window->Library()->isVisible());
    EXPECT_EQ(window->Library()->text(), "1 file is on the iPod \"Test iPod\".");
    ASSERT_TRUE(window->Outcome());
    const std::string errors = window->Outcome()->errorLog;
    // The broken file, the helper that found no third file, and the third file's missing output.
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 3) << errors;
    EXPECT_TRUE(errors.starts_with("-" + broken + ":")) << errors;
    EXPECT_NE(errors.find("\n-" + third + ": "), std::string::npos) << errors;
    // The collected errors come in the error window, modal over the progress window.
    EXPECT_TRUE(MessageBox::Shown().empty());
    auto* errorWindow = window->findChild<ErrorWindow*>("frmError");
    ASSERT_TRUE(errorWindow);
    EXPECT_TRUE(errorWindow->isVisible());
    EXPECT_EQ(errorWindow->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(errorWindow->Errors()->toPlainText(), QString::fromStdString(errors).replace("\r\n", "\n"));
    errorWindow->CloseButton()->click();
    EXPECT_FALSE(errorWindow->isVisible());
    EXPECT_EQ(m_window->NumberOfConvertedFiles(), before + 3);

    window->CancelButton()->click();
    QTest::qWait(20);
    EXPECT_EQ(m_window->CurrentStep(), 1);
    EXPECT_TRUE(m_window->NextButton()->isVisible());
    EXPECT_FALSE(m_window->ConvertButton()->isVisible());
    EXPECT_FALSE(m_window->findChild<ProcessingWindow*>("frmProcessing"));
}

TEST_F(ConversionRunTest, CancelDuringTheSecondFileKeepsTheFirstAndEndsOnlyItsOwnEncoder)
{
    const std::string two = MakeClip(m_clips, "two", 30);
    Add({MakeClip(m_clips, "one", 1), two, MakeClip(m_clips, "three", 1)});
    ProcessingWindow* window = Start();
    ASSERT_TRUE(window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Progress().FileNumber() == 2; }, 60000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileExists(m_out + "/two.mp4.part"); }, 30000));
    // A second copy of the program converts beside this run, with a quick profile.
    const std::string beside = test::MakeTempFolder("beside");
    const pid_t other = test::StartCliProcess(
        beside, {"convert", "--device", "iPod-Nano", "--profile", "6", "--output", beside + "/out", two});
    ASSERT_TRUE(QTest::qWaitFor([&] { return FileExists(beside + "/out/two.m4v.part"); }, 60000));

    MessageBox::SetNextAnswer(MessageBox::No);
    window->CancelButton()->click();
    EXPECT_FALSE(window->Progress().Finished());
    EXPECT_TRUE(Alive(m_out));

    MessageBox::ClearShown();
    MessageBox::SetNextAnswer(MessageBox::Yes);
    window->CancelButton()->click();
    ASSERT_FALSE(MessageBox::Shown().empty());
    EXPECT_EQ(MessageBox::Shown().back().text,
              "The conversion was cancelled!\r\nYou can go back and change your "
              "settings, or try to convert your video files again.");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Alive(m_out); }, 5000));
    EXPECT_TRUE(FileExists(m_out + "/one.mp4"));
    EXPECT_FALSE(FileExists(m_out + "/two.mp4"));
    EXPECT_TRUE(FileExists(m_out + "/two.mp4.part"));
    EXPECT_FALSE(FileExists(m_out + "/three.mp4"));
    EXPECT_FALSE(FileExists(m_out + "/three.mp4.part"));
    EXPECT_EQ(m_window->CurrentStep(), 4);
    EXPECT_TRUE(m_window->ConvertButton()->isVisible());
    EXPECT_TRUE(m_window->PreviousButton()->isVisible());
    EXPECT_EQ(test::WaitForCliProcess(other), 0) << test::ReadTextFile(beside + "/err.txt");
    EXPECT_TRUE(FileExists(beside + "/out/two.m4v"));
}

TEST_F(ConversionRunTest, RefusedStartWritesNoScriptAndGivesTheButtonsBack)
{
    const std::string script = m_window->ApplicationSettingsPath() + "/Zantrove.bat";
    std::filesystem::remove(script);
    MessageBox::ClearShown();
    m_window->StartConversionProces(); // with an empty list
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(MessageBox::Shown().front().text, "Please, add one or more files to your list first.");
    EXPECT_FALSE(FileExists(script));
    EXPECT_FALSE(m_window->findChild<ProcessingWindow*>("frmProcessing"));
    EXPECT_FALSE(m_window->PreviousButton()->isHidden());
    EXPECT_FALSE(m_window->ConvertButton()->isHidden());
}

} // namespace
} // namespace zantrove
