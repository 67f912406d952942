// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard, its help controls and the trim dialog, driven as a user would.
#include "app/Startup.h"
#include "platform/FileSystem.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/ClickLabel.h"
#include "ui/DeviceStep.h"
#include "ui/OutputStep.h"
#include "ui/PictureButton.h"
#include "ui/ReviewStep.h"
#include "ui/TranslateWindow.h"
#include "ui/TrimVideoDialog.h"
#include "ui/VideoListBinder.h"
#include "ui/VideoListStep.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zantrove {
namespace {

class WizardTest : public test::MainWindowTest
{
protected:
    int VisibleStep() const
    {
        int visible = 0;
        for (int step = 1; step <= 4; ++step)
            if (m_window->findChild<QWidget*>(QStringLiteral("pnlWizard_Step%1").arg(step))->isVisible())
                visible = visible == 0 ? step : -1;
        return visible;
    }
};

TEST_F(WizardTest, ExactlyOneDeviceMarkerFollowsTheClicks)
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
}

TEST_F(WizardTest, StartsOnStepOneAndGoesOnOnlyWithFilesAndAFolder)
{
    EXPECT_EQ(VisibleStep(), 1);
    QLineEdit* folder = m_window->Step3()->OutputDirectory();
    EXPECT_EQ(folder->text().toStdString(), std::string(std::getenv("HOME")) + "/Converted Video Files");
    for (int column = 0; column < 7; ++column) // the trim times and the path are not shown
        EXPECT_EQ(m_window->VideoFiles()->isColumnHidden(column), column >= 4);
    for (int i = 0; i < 2; ++i) // every time, not once
        m_window->bttnPrevious_Click();
    EXPECT_EQ(MessageBox::Shown().size(), 2u);
    m_window->bttnNext_Click();
    m_window->bttnNext_Click();
    EXPECT_EQ(VisibleStep(), 2);
    // The message's line breaks as the box shows them.
    EXPECT_EQ(MessageBox::DisplayText(MessageBox::Shown().back().text),
              "You have not added any video files to your list.\nPlease, click the 'Add Video(s)' "
              "button to add one or more video files to your list.");
    AddRow("clip");
    m_window->bttnNext_Click();
    EXPECT_EQ(VisibleStep(), 3);
    FileDialogs::SetNextFolder(std::string("/media/usb/Videos"));
    m_window->bttnChooseOutputDirectory_Click();
    EXPECT_EQ(folder->text(), "/media/usb/Videos");
    folder->clear();
    m_window->bttnChooseOutputDirectory_Click(); // cancelled: the text stays
    m_window->bttnNext_Click();
    EXPECT_EQ(VisibleStep(), 3);
    EXPECT_EQ(MessageBox::Shown().size(), 4u);
    folder->setText("   "); // blanks pass; neither checked nor created
    m_window->bttnNext_Click();
    EXPECT_EQ(VisibleStep(), 4);
    EXPECT_FALSE(m_window->NextButton()->isVisible());
    EXPECT_TRUE(m_window->ConvertButton()->isVisible());
    EXPECT_EQ(m_window->ConvertButton()->geometry(), m_window->NextButton()->geometry());
    m_window->bttnPrevious_Click();
    EXPECT_EQ(VisibleStep(), 3);
    EXPECT_FALSE(m_window->ConvertButton()->isVisible());
}

TEST_F(WizardTest, ReviewIsRefilledAndShortensTheFolderAtFiftyCharacters)
{
    Open(ZANTROVE_APP_DIR); // a device's rates, for the size estimate
    AddRow("a");
    AddRow("b");
    const QString fifty = "/" + QString(49, 'f');
    GoToStep(3);
    m_window->Step3()->OutputDirectory()->setText(fifty);
    m_window->bttnNext_Click();
    EXPECT_EQ(m_window->Step4()->Output()->text(), fifty);
    EXPECT_EQ(m_window->Step4()->Summary()->text(),
              "2 video files will be converted and saved to:\n" + fifty);
    const QString whole = m_window->Step4()->EstimatedSize()->text();
    EXPECT_TRUE(whole.startsWith("about ")) << whole.toStdString();
    EXPECT_TRUE(whole.endsWith(" KB")) << whole.toStdString();

    m_window->bttnPrevious_Click();
    const QString fiftyOne = fifty + "g";
    m_window->Step3()->OutputDirectory()->setText(fiftyOne);
    m_window->VideoList().SetTrimTimes(1, "00:00:01", "00:00:02");
    m_window->bttnNext_Click();
    EXPECT_EQ(m_window->Step4()->Output()->text(), fifty + "...");
    EXPECT_EQ(m_window->Step4()->Output()->toolTip(), fiftyOne);
    EXPECT_EQ(m_window->Step4()->Summary()->text(),
              "2 video files will be converted (1 of them trimmed) and saved to:\n" + fiftyOne);
    // Three seconds of output instead of four.
    const auto kilobytes = [](const QString& text) { return text.mid(6).chopped(3).toDouble(); };
    EXPECT_NEAR(kilobytes(m_window->Step4()->EstimatedSize()->text()), kilobytes(whole) * 3 / 4, 2);
    // Characters, not bytes: 51 accented letters are cut after 50 of them.
    EXPECT_EQ(ReviewStep::Shortened(QString(51, QChar(0xE9))), QString(50, QChar(0xE9)) + "...");
}

TEST_F(WizardTest, ClosingSavesTheSettingsForTheNextStart)
{
    m_window->Step3()->OutputDirectory()->setText("");
    m_window->SetNumberOfConvertedFiles(7);
    m_window->close();
    MainWindow second;
    ASSERT_TRUE(second.Load({}));
    EXPECT_EQ(second.Step3()->OutputDirectory()->text(), "");
    EXPECT_EQ(second.NumberOfConvertedFiles(), 7);
}

TEST_F(WizardTest, WithoutASettingsFolderTheWindowSaysSoAndCloses)
{
    // Compared, not asserted absent: an older build's run beside this one may have made it.
    const bool atRoot = FolderExists("/Quelmar");
    MessageBox::ClearShown();
    const test::ScopedEnv home("HOME", "/proc"), data("XDG_DATA_HOME", std::nullopt);
    MainWindow second;
    EXPECT_FALSE(second.Load({}));
    ASSERT_FALSE(MessageBox::Shown().empty());
    EXPECT_EQ(MessageBox::Shown().back().text, kNoSettingsFolderMessage);
    EXPECT_EQ(second.ApplicationSettingsPath(), "");
    EXPECT_TRUE(second.close());
    EXPECT_EQ(FolderExists("/Quelmar"), atRoot);
}

const QString kHelp = "https://www.quelmar.example/Content/ZVR/Help/";

// The tip link and the translation page go to the platform's opener; a failed open is said.
TEST_F(WizardTest, LinksOpenThroughThePlatform)
{
    GoToStep(4);
    QTest::mouseClick(m_window->Step4()->TipLink(), Qt::LeftButton);
    std::vector<std::string> expected = {(kHelp + "?item=missingcodecs").toStdString()};
    m_window->findChild<QComboBox*>("cmbLanguages")->setCurrentIndex(2);
    m_window->findChild<QPushButton*>("cmdTranslate")->click();
    auto* translate = m_window->findChild<TranslateWindow*>("frmTranslate");
    ASSERT_TRUE(translate);
    EXPECT_EQ(translate->Address(), kHelp + "?step=4&lng=de");
    if (!TranslateWindow::HasEmbeddedView()) { // a link to the browser: the label's centred second line
        auto* link = qobject_cast<QLabel*>(translate->PageView());
        ASSERT_TRUE(link);
        QTest::mouseClick(link, Qt::LeftButton, {},
                          QPoint(link->width() / 2, link->height() / 2 + link->fontMetrics().height() / 2));
        expected.push_back((kHelp + "?step=4&lng=de").toStdString());
    }
    EXPECT_EQ(m_platform.opened, expected);
    ASSERT_EQ(MessageBox::Shown().size(), expected.size());
    EXPECT_EQ(MessageBox::Shown()[0].text,
              "Zantrove could not open " + expected[0] + "\r\nNo program to open it with could be started.");
}

class TrimDialogTest : public test::MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_window->ShowWizardStep(2);
        for (const std::string name : {"first", "second"})
            AddRow(name, "00:01:30", "/videos/" + name + ".mp4");
    }

    TrimVideoDialog* OpenFor(std::int16_t row)
    {
        Flush();
        m_window->VideoListView()->Select({row}, row);
        m_window->Step2()->TrimButton()->click();
        return m_window->findChild<TrimVideoDialog*>("frmTrimVideo");
    }

    // Reads the six boxes, then types texts into them when given.
    static QStringList Boxes(TrimVideoDialog* dialog, const QStringList& texts = {})
    {
        QStringList shown;
        for (int i = 0; i < 6; ++i) {
            shown.append(dialog->Box(i)->text());
            if (!texts.isEmpty())
                dialog->Box(i)->setText(texts[i]);
        }
        return shown;
    }
    bool HasTrimMark(int row) const { return !Cell(row, 0, Qt::DecorationRole).value<QIcon>().isNull(); }
};

TEST_F(TrimDialogTest, NeedsOneRowRefusesBadTimesAndDoNotTrimClearsTheTrim)
{
    m_window->Step2()->TrimButton()->click(); // no row
    EXPECT_EQ(m_window->findChild<TrimVideoDialog*>("frmTrimVideo"), nullptr);
    ASSERT_EQ(MessageBox::Shown().size(), 1u);

    TrimVideoDialog* dialog = OpenFor(2);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->Box(0)->selectedText(), "00");
    EXPECT_EQ(Boxes(dialog, {"00", "00", "10", "00", "02", "00"}),
              (QStringList{"00", "00", "00", "00", "01", "30"}));
    dialog->SetButton()->click(); // beyond the end: refused, the dialog keeps the entries
    EXPECT_EQ(MessageBox::Shown().size(), 2u);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(m_window->VideoList().Row(2)->IsTrimmed());
    EXPECT_EQ(Boxes(dialog, {"00", "00", "5", "00", "00", "20"}),
              (QStringList{"00", "00", "10", "00", "02", "00"}));
    dialog->SetButton()->click(); // a single digit is padded
    EXPECT_EQ(Cell(1, 0, Qt::ToolTipRole).toString(), "/videos/second.mp4\nTrimmed to: 00:00:05 - 00:00:20");
    EXPECT_TRUE(HasTrimMark(1));
    EXPECT_FALSE(HasTrimMark(0));

    dialog = OpenFor(2);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Boxes(dialog), (QStringList{"00", "00", "05", "00", "00", "20"}));
    dialog->DoNotTrimButton()->click();
    EXPECT_FALSE(HasTrimMark(1));
    EXPECT_EQ(Cell(1, 0, Qt::ToolTipRole).toString(), "/videos/second.mp4");
}

} // namespace
} // namespace zantrove
