// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "storage/IniFile.h"
#include "storage/UserSettings.h"
#include "tests/ui/ListTestSupport.h"
#include "ui/DeviceStep.h"
#include "ui/MainWindow.h"
#include "ui/OutputStep.h"
#include "ui/PictureButton.h"
#include "ui/ReviewStep.h"
#include "ui/SvgPicture.h"
#include "ui/VideoListStep.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace zantrove {
namespace {

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = test::OpenMainWindow();
        m_window->show();
    }

    void AddRow(const std::string& name) { m_window->VideoList().Append(test::ListRow(name)); }

    int VisibleStep() const
    {
        int visible = 0;
        for (int step = 1; step <= 4; ++step) {
            auto* panel = m_window->findChild<QWidget*>(QStringLiteral("pnlWizard_Step%1").arg(step));
            if (panel && panel->isVisible())
                visible = visible == 0 ? step : -1;
        }
        return visible;
    }

    std::unique_ptr<MainWindow> m_window;
};

TEST_F(MainWindowTest, StartsOnStepOneWithTheFirstDevice)
{
    EXPECT_EQ(m_window->windowTitle(), "Zantrove");
    EXPECT_EQ(VisibleStep(), 1);
    EXPECT_EQ(m_window->SelectedDevice(), "iPod-Classic");
    EXPECT_TRUE(m_window->findChild<QWidget*>("imgIPodClassicSelected")->isVisible());
    EXPECT_TRUE(m_window->NextButton()->isVisible());
    EXPECT_FALSE(m_window->ConvertButton()->isVisible());
    EXPECT_TRUE(MessageBox::Shown().empty());
    EXPECT_EQ(m_window->ApplicationSettingsPath(),
              std::string(std::getenv("XDG_DATA_HOME")) + "/Quelmar/Zantrove");
    EXPECT_EQ(m_window->Step3()->OutputDirectory()->text().toStdString(),
              std::string(std::getenv("HOME")) + "/Converted Video Files");
}

TEST_F(MainWindowTest, ExactlyOneDeviceMarkerFollowsTheClicks)
{
    const char* markers[] = {"imgIPodClassicSelected", "imgIPodTouchSelected", "imgIPodNanoSelected",
                             "imgIPhoneSelected", "imgIPadSelected"};
    const char* identifiers[] = {"iPod-Classic", "iPod-Touch", "iPod-Nano", "iPhone", "iPad"};
    for (int device = 0; device < 5; ++device) {
        m_window->Step1()->ClickArea(device)->click();
        EXPECT_EQ(m_window->SelectedDevice(), identifiers[device]);
        for (int other = 0; other < 5; ++other)
            EXPECT_EQ(m_window->findChild<QWidget*>(markers[other])->isVisible(), other == device);
    }
    m_window->SwitchDevice("iPod-classic"); // identifiers compare exactly
    for (const char* marker : markers)
        EXPECT_FALSE(m_window->findChild<QWidget*>(marker)->isVisible());
}

TEST_F(MainWindowTest, EmptyListIsRefusedOnStepTwo)
{
    m_window->bttnNext_Click();
    ASSERT_EQ(VisibleStep(), 2);
    m_window->bttnNext_Click();
    EXPECT_EQ(VisibleStep(), 2);
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    const UserMessage& message = MessageBox::Shown().front();
    EXPECT_EQ(message.icon, MessageIcon::Exclamation);
    EXPECT_EQ(message.title, "Zantrove");
    EXPECT_EQ(message.text,
              "You have not added any video files to your list.\r\nPlease, click the 'Add Video(s)' "
              "button to add one or more video files to your list.");
    EXPECT_EQ(MessageBox::DisplayText(message.text).find('\r'), std::string::npos);
    AddRow("clip");
    m_window->bttnNext_Click();
    EXPECT_EQ(VisibleStep(), 3);
}

TEST_F(MainWindowTest, OutputFolderCheckOnStepThree)
{
    AddRow("clip");
    m_window->bttnNext_Click();
    m_window->bttnNext_Click();
    ASSERT_EQ(VisibleStep(), 3);
    m_window->Step3()->OutputDirectory()->clear();
    m_window->bttnNext_Click();
    EXPECT_EQ(VisibleStep(), 3);
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(MessageBox::Shown().front().text.substr(0, 74),
              "You have not specified an output directory for your converted video files.");
    // A folder of blanks passes; it is neither checked nor created here.
    m_window->Step3()->OutputDirectory()->setText("   ");
    m_window->bttnNext_Click();
    EXPECT_EQ(VisibleStep(), 4);
    EXPECT_FALSE(m_window->NextButton()->isVisible());
    EXPECT_TRUE(m_window->ConvertButton()->isVisible());
    EXPECT_EQ(m_window->ConvertButton()->geometry(), m_window->NextButton()->geometry());
}

TEST_F(MainWindowTest, ReviewShortensTheFolderAtFiftyCharactersAndSaysWhatWillHappen)
{
    AddRow("a");
    AddRow("b");
    m_window->bttnNext_Click();
    m_window->bttnNext_Click();
    const QString fifty = "/" + QString(49, 'f');
    m_window->Step3()->OutputDirectory()->setText(fifty);
    m_window->bttnNext_Click();
    EXPECT_EQ(m_window->Step4()->Output()->text(), fifty);
    EXPECT_EQ(m_window->Step4()->VideoFiles()->text(), "2");
    EXPECT_EQ(m_window->Step4()->SelectedDevice()->text(), "iPod-Classic");
    EXPECT_EQ(m_window->Step4()->Summary()->text(),
              "2 video files will be converted and saved to:\n" + fifty);

    m_window->bttnPrevious_Click();
    const QString fiftyOne = fifty + "g";
    m_window->Step3()->OutputDirectory()->setText(fiftyOne);
    // Trimmed: both trim columns set, one alone is not enough.
    m_window->VideoList().SetTrimTimes(1, "00:00:01", "00:00:02");
    m_window->VideoList().SetField(2, VideoColumn::EndTime, "00:00:02");
    m_window->bttnNext_Click();
    EXPECT_EQ(m_window->Step4()->Output()->text(), fifty + "...");
    EXPECT_EQ(m_window->Step4()->Output()->toolTip(), fiftyOne);
    EXPECT_EQ(m_window->Step4()->Summary()->text(),
              "2 video files will be converted (1 of them trimmed) and saved to:\n" + fiftyOne);
    // Characters, not bytes: 51 accented letters are cut after 50 of them.
    EXPECT_EQ(ReviewStep::Shortened(QString(51, QChar(0xE9))), QString(50, QChar(0xE9)) + "...");
}

// 1920x1080 at 200 % and 1366x768 at 100 %, less a panel: every step, the advanced panel open,
// keeps the wizard's buttons inside the window and scrolls what does not fit.
TEST_F(MainWindowTest, FitsSmallAndScaledScreens)
{
    AddRow("a");
    m_window->Step3()->findChild<QToolButton*>("bttnAdvancedSettings")->click();
    for (const QSize screen : {QSize(960, 510), QSize(1366, 730)}) {
        m_window->resize(screen);
        for (int step = 1; step <= 4; ++step) {
            if (step > 1)
                m_window->bttnNext_Click();
            QApplication::processEvents();
            EXPECT_EQ(m_window->size(), screen) << "step " << step;
            for (QWidget* button : {static_cast<QWidget*>(m_window->PreviousButton()),
                                    step < 4 ? static_cast<QWidget*>(m_window->NextButton())
                                             : static_cast<QWidget*>(m_window->ConvertButton())}) {
                const QRect place(button->mapTo(m_window.get(), QPoint()), button->size());
                EXPECT_TRUE(m_window->rect().contains(place)) << "step " << step;
            }
        }
        m_window->bttnPrevious_Click();
        m_window->bttnPrevious_Click();
        m_window->bttnPrevious_Click();
    }
}

TEST_F(MainWindowTest, PreviousOnStepOneShowsItsMessageEveryTime)
{
    for (int i = 0; i < 2; ++i) {
        m_window->bttnPrevious_Click();
        EXPECT_EQ(VisibleStep(), 1);
    }
    ASSERT_EQ(MessageBox::Shown().size(), 2u);
    EXPECT_EQ(MessageBox::Shown()[1].text, "You can't go to a previous step.\rYou are currently in the first "
                                           "wizard step where you can select a device.");
    EXPECT_EQ(MessageBox::DisplayText(MessageBox::Shown()[1].text),
              "You can't go to a previous step.\nYou are currently in the first wizard step where you can "
              "select a device.");
}

TEST_F(MainWindowTest, GoingBackAndForthRefillsTheReview)
{
    AddRow("a");
    m_window->bttnNext_Click();
    m_window->bttnNext_Click();
    m_window->Step3()->OutputDirectory()->setText("/first");
    m_window->bttnNext_Click();
    EXPECT_EQ(m_window->Step4()->Output()->text(), "/first");
    m_window->bttnPrevious_Click();
    EXPECT_EQ(VisibleStep(), 3);
    EXPECT_TRUE(m_window->NextButton()->isVisible());
    EXPECT_FALSE(m_window->ConvertButton()->isVisible());
    m_window->Step3()->OutputDirectory()->setText("/second");
    m_window->bttnNext_Click();
    EXPECT_EQ(m_window->Step4()->Output()->text(), "/second");
    m_window->bttnNext_Click(); // step 4 is the last one
    EXPECT_EQ(VisibleStep(), 4);
}

TEST_F(MainWindowTest, FolderBrowserReplacesTheTextOrLeavesIt)
{
    QLineEdit* box = m_window->Step3()->OutputDirectory();
    box->setText("typed");
    m_window->bttnChooseOutputDirectory_Click(); // cancelled
    EXPECT_EQ(box->text(), "typed");
    EXPECT_EQ(FileDialogs::LastCall().title, "Choose Output Directory");
    box->clear();
    m_window->bttnChooseOutputDirectory_Click();
    EXPECT_EQ(box->text(), "");
    FileDialogs::SetNextFolder(std::string("/media/usb/Videos"));
    m_window->Step2()->show();
    m_window->bttnChooseOutputDirectory_Click();
    EXPECT_EQ(box->text(), "/media/usb/Videos");
}

TEST_F(MainWindowTest, ClosingSavesTheSettings)
{
    m_window->Step3()->OutputDirectory()->setText("");
    m_window->SetNumberOfConvertedFiles(7);
    m_window->close();
    const std::string file = SettingsFilePath(m_window->ApplicationSettingsPath());
    EXPECT_EQ(ReadIniValue("General", "OutputDir", "absent", file), "");
    EXPECT_EQ(ReadIniValue("General", "NumberOfConvertedFiles", "", file), "7");

    // The next start shows the empty folder, and step 3 then refuses to go on.
    MainWindow second;
    second.Load({});
    EXPECT_EQ(second.Step3()->OutputDirectory()->text(), "");
    EXPECT_EQ(second.NumberOfConvertedFiles(), 7);
}

TEST_F(MainWindowTest, DebugSwitchStartsTheLogAndSaysSo)
{
    MainWindow debug;
    debug.Load({"/debug"});
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(MessageBox::Shown().front().text, "Zantrove is now running in Debug Mode.");
    MessageBox::ClearShown();
    MainWindow normal;
    normal.Load({"/DEBUG"});
    EXPECT_TRUE(MessageBox::Shown().empty());
}

TEST_F(MainWindowTest, StatusBarHoldsVersionProgressAndCancel)
{
    QStatusBar* bar = m_window->statusBar();
    EXPECT_EQ(bar->objectName(), "StatusBar");
    EXPECT_TRUE(bar->isAncestorOf(m_window->AddFilesProgressBar()));
    EXPECT_TRUE(bar->isAncestorOf(m_window->CancelOverlay()));
    EXPECT_FALSE(m_window->AddFilesProgressBar()->isVisible());
    EXPECT_FALSE(m_window->CancelOverlay()->isVisible());
    auto* cancel = m_window->findChild<QLabel*>("CancelLabel");
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->text().contains("(Cancel)"));
    EXPECT_EQ(cancel->toolTip(), "Cancel Operation");
    EXPECT_NE(m_window->findChild<QLabel*>(QString(), Qt::FindChildrenRecursively), nullptr);
    bool versionShown = false;
    for (auto* label : bar->findChildren<QLabel*>())
        versionShown = versionShown || label->text() == "Version: 1.1";
    EXPECT_TRUE(versionShown);
}

TEST_F(MainWindowTest, ListHasSevenColumnsTheLastThreeHidden)
{
    QTreeView* list = m_window->VideoFiles();
    EXPECT_EQ(list->objectName(), "lvwVideoFiles");
    ASSERT_EQ(list->model()->columnCount(), 7);
    const QStringList headers = {"Filename",   "Codec",    "Duration", "Video Size",
                                 "Begin Time", "End Time", "Filepath"};
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(list->model()->headerData(column, Qt::Horizontal).toString(), headers[column]);
        EXPECT_EQ(list->isColumnHidden(column), column >= 4);
    }
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
}

} // namespace
} // namespace zantrove
