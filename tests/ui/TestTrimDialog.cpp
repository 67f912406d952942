// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/VideoListModel.h"
#include "platform/MessageBox.h"
#include "tests/ui/ListTestSupport.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"
#include "ui/TrimVideoDialog.h"
#include "ui/VideoListBinder.h"
#include "ui/VideoListStep.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace zantrove {
namespace {

class TrimDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = test::OpenMainWindow();
        m_window->show();
        m_window->ShowWizardStep(2);
        for (const std::string name : {"first", "second"})
            m_window->VideoList().Append(test::ListRow(name, "00:01:30", "/videos/" + name + ".mp4"));
        MessageBox::ClearShown();
    }

    void SelectRow(std::int16_t row) { m_window->VideoListView()->Select({row}, row); }

    TrimVideoDialog* OpenByButton()
    {
        m_window->Step2()->TrimButton()->click();
        return m_window->findChild<TrimVideoDialog*>("frmTrimVideo");
    }

    static void Type(TrimVideoDialog* dialog, const QStringList& texts)
    {
        for (int i = 0; i < 6; ++i)
            dialog->Box(i)->setText(texts[i]);
    }

    static QStringList Boxes(TrimVideoDialog* dialog)
    {
        QStringList texts;
        for (int i = 0; i < 6; ++i)
            texts.append(dialog->Box(i)->text());
        return texts;
    }

    static QColor StatusColour(TrimVideoDialog* dialog)
    {
        return dialog->StatusLabel()->palette().color(QPalette::Window);
    }

    // Closed dialogs are deleted; let that happen so the next lookup finds only the open one.
    static void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    const VideoRow& Row(std::int16_t index) const { return *m_window->VideoList().Row(index); }
    // What the list shows of a row: a column's text, and the name column's picture and tip.
    QString Text(int row, int column) const
    {
        return test::ShownCell(m_window->VideoFiles(), row, column).toString();
    }
    bool HasTrimMark(int row) const
    {
        return !test::ShownCell(m_window->VideoFiles(), row, 0, Qt::DecorationRole).value<QIcon>().isNull();
    }
    QString Tip(int row) const
    {
        return test::ShownCell(m_window->VideoFiles(), row, 0, Qt::ToolTipRole).toString();
    }

    std::unique_ptr<MainWindow> m_window;
};

TEST_F(TrimDialogTest, NoSelectionShowsTheMessageAndNoDialog)
{
    EXPECT_EQ(OpenByButton(), nullptr);
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(MessageBox::Shown()[0].text, "Please, select a video file you would like to trim first.");
    EXPECT_EQ(MessageBox::Shown()[0].icon, MessageIcon::Exclamation);
}

TEST_F(TrimDialogTest, TwoSelectedRowsShowTheMessageAndNoDialog)
{
    m_window->VideoListView()->Select({1, 2}, 2);
    m_window->findChild<QAction*>("mnuEdit_TrimVideoFile")->trigger();
    EXPECT_EQ(m_window->findChild<TrimVideoDialog*>("frmTrimVideo"), nullptr);
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(MessageBox::Shown()[0].text, "You cannot trim multiple video files at once.\r\n"
                                           "Please, make sure that you have selected only 1 video file.");
}

TEST_F(TrimDialogTest, FreshRowOpensWithDefaultsAndTheRedStatus)
{
    SelectRow(2);
    TrimVideoDialog* dialog = OpenByButton();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), "Trim Video File");
    EXPECT_EQ(dialog->findChild<QLabel*>("lblWizardText")->text(), "Trim Video File");
    EXPECT_EQ(dialog->findChild<QLabel*>("lblWizardSubText")->text(), "Trim the selected video file...");
    EXPECT_NE(dialog->findChild<QWidget*>("picWizard"), nullptr);
    EXPECT_EQ(dialog->findChild<QLabel*>("Label1")->text(),
              "Please, set the start and end time of the selected video file...");
    EXPECT_EQ(dialog->findChild<QLabel*>("lblStartTime")->text(), "Start Time (hh:mm:ss)");
    EXPECT_EQ(dialog->findChild<QLabel*>("lblEndTime")->text(), "End Time (hh:mm:ss)");
    EXPECT_EQ(dialog->findChild<QLabel*>("Label2")->text(), "Total Duration:");
    EXPECT_EQ(dialog->findChild<QLabel*>("lblNote")->text(),
              "Note: these settings will not affect your original file.");
    EXPECT_EQ(dialog->SetButton()->text(), "&Set");
    EXPECT_EQ(dialog->DoNotTrimButton()->text(), "&Do not trim");
    EXPECT_EQ(dialog->CloseButton()->text(), "&Close");

    EXPECT_EQ(Boxes(dialog), (QStringList{"00", "00", "00", "00", "01", "30"}));
    EXPECT_EQ(dialog->findChild<QLabel*>("lblHr")->text(), "00");
    EXPECT_EQ(dialog->findChild<QLabel*>("lblMin")->text(), "01");
    EXPECT_EQ(dialog->findChild<QLabel*>("lblSec")->text(), "30");
    EXPECT_EQ(dialog->StatusLabel()->text(), "The selected video file is currently NOT set to be trimmed.");
    EXPECT_EQ(StatusColour(dialog), QColor(255, 128, 128));
    EXPECT_EQ(dialog->Box(0)->selectedText(), "00");
    EXPECT_EQ(dialog->findChild<QLineEdit*>("txtEndTimeSeconds"), dialog->Box(5));
}

TEST_F(TrimDialogTest, ValidTimesAreStoredAndShownWhenReopened)
{
    SelectRow(1);
    TrimVideoDialog* dialog = OpenByButton();
    ASSERT_NE(dialog, nullptr);
    Type(dialog, {"00", "00", "5", "0", "1", "00"});
    QPointer<TrimVideoDialog> watch(dialog);
    dialog->SetButton()->click();
    EXPECT_TRUE(watch.isNull() || !watch->isVisible());
    EXPECT_TRUE(MessageBox::Shown().empty());
    EXPECT_EQ(Row(1).beginTime, "00:00:05");
    EXPECT_EQ(Row(1).endTime, "00:01:00");
    EXPECT_EQ(Text(0, 4), "00:00:05");
    EXPECT_EQ(Text(0, 5), "00:01:00");
    // The trim columns are hidden, so the row shows its mark and times itself.
    EXPECT_TRUE(HasTrimMark(0));
    EXPECT_EQ(Tip(0), "/videos/first.mp4\nTrimmed to: 00:00:05 - 00:01:00");
    EXPECT_FALSE(HasTrimMark(1));
    EXPECT_TRUE(Row(2).beginTime.empty());
    Settle();

    m_window->findChild<QAction*>("mnuEdit_TrimVideoFile")->trigger();
    dialog = m_window->findChild<TrimVideoDialog*>("frmTrimVideo");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Boxes(dialog), (QStringList{"00", "00", "05", "00", "01", "00"}));
    EXPECT_EQ(dialog->StatusLabel()->text(), "The selected video file is currently set to be trimmed.");
    EXPECT_EQ(StatusColour(dialog), QColor(128, 255, 128));
    EXPECT_EQ(dialog->findChild<QLabel*>("lblSec")->text(), "30") << "the total stays the row's duration";
}

TEST_F(TrimDialogTest, StartEqualToEndAndEndAtTheTotalAreAccepted)
{
    SelectRow(1);
    TrimVideoDialog* dialog = OpenByButton();
    ASSERT_NE(dialog, nullptr);
    Type(dialog, {"00", "01", "30", "00", "01", "30"});
    dialog->SetButton()->click();
    EXPECT_TRUE(MessageBox::Shown().empty());
    EXPECT_EQ(Row(1).beginTime, "00:01:30");
    EXPECT_EQ(Row(1).endTime, "00:01:30");
}

TEST_F(TrimDialogTest, RefusedEntriesShowTheMessageAndKeepTheDialog)
{
    SelectRow(1);
    TrimVideoDialog* dialog = OpenByButton();
    ASSERT_NE(dialog, nullptr);
    Type(dialog, {"00", "00", "10", "00", "02", "00"});
    dialog->SetButton()->click();
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(MessageBox::Shown()[0].text,
              "The End Time you've entered is not valid.\r\n"
              "Reason: The End Time cannot exceed the Total Duration of: 00:01:30");
    EXPECT_EQ(MessageBox::Shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Boxes(dialog), (QStringList{"00", "00", "10", "00", "02", "00"})) << "the entries are kept";
    EXPECT_FALSE(Row(1).IsTrimmed());

    dialog->Box(4)->setText("1x");
    dialog->SetButton()->click();
    ASSERT_EQ(MessageBox::Shown().size(), 2u);
    EXPECT_EQ(MessageBox::Shown()[1].text,
              "Invalid Start or End Time!\r\nReason: You can only enter numeric values.");

    Type(dialog, {"00", "01", "00", "00", "00", "30"});
    dialog->SetButton()->click();
    ASSERT_EQ(MessageBox::Shown().size(), 3u);
    EXPECT_EQ(
        MessageBox::Shown()[2].text,
        "The start time you've entered is not valid.\r\nReason: The Start Time cannot exceed the End Time.");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(Row(1).IsTrimmed());
    EXPECT_TRUE(Text(0, 4).isEmpty());
}

TEST_F(TrimDialogTest, DoNotTrimClearsTheTimes)
{
    m_window->VideoList().SetTrimTimes(2, "00:00:10", "00:00:20");
    SelectRow(2);
    TrimVideoDialog* dialog = OpenByButton();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Boxes(dialog), (QStringList{"00", "00", "10", "00", "00", "20"}));
    dialog->DoNotTrimButton()->click();
    EXPECT_TRUE(Row(2).beginTime.empty());
    EXPECT_TRUE(Row(2).endTime.empty());
    EXPECT_TRUE(Text(1, 5).isEmpty());
    EXPECT_FALSE(HasTrimMark(1));
    EXPECT_EQ(Tip(1), "/videos/second.mp4");
    Settle();

    dialog = OpenByButton();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Boxes(dialog), (QStringList{"00", "00", "00", "00", "01", "30"}));
    EXPECT_EQ(StatusColour(dialog), QColor(255, 128, 128));
}

TEST_F(TrimDialogTest, CloseAfterEditingStoresNothing)
{
    SelectRow(1);
    TrimVideoDialog* dialog = OpenByButton();
    ASSERT_NE(dialog, nullptr);
    Type(dialog, {"00", "00", "10", "00", "00", "20"});
    QPointer<TrimVideoDialog> watch(dialog);
    dialog->CloseButton()->click();
    EXPECT_TRUE(watch.isNull() || !watch->isVisible());
    EXPECT_FALSE(Row(1).IsTrimmed());
    Settle();
    EXPECT_TRUE(watch.isNull()) << "deleted on close";
}

TEST_F(TrimDialogTest, ClickInABoxSelectsItsWholeText)
{
    SelectRow(1);
    TrimVideoDialog* dialog = OpenByButton();
    ASSERT_NE(dialog, nullptr);
    QLineEdit* minutes = dialog->Box(4);
    minutes->setText("12");
    minutes->deselect();
    QTest::mouseClick(minutes, Qt::LeftButton, Qt::NoModifier,
                      QPoint(minutes->width() - 4, minutes->height() / 2));
    EXPECT_EQ(minutes->selectedText(), "12");
}

} // namespace
} // namespace zantrove
