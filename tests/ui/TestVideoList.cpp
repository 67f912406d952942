// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/AddFilesFlow.h"
#include "media/ListOperations.h"
#include "media/VideoListModel.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/LinuxPlatform.h"
#include "platform/MessageBox.h"
#include "storage/UserSettings.h"
#include "tests/media/MediaClips.h"
#include "tests/support/TestHome.h"
#include "tests/ui/ListTestSupport.h"
#include "ui/FilePropertiesWindow.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"
#include "ui/VideoListActions.h"
#include "ui/VideoListBinder.h"
#include "ui/VideoListStep.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace zantrove {
namespace {

// The real platform, except that opening a file is only recorded.
class RecordingPlatform : public LinuxPlatform
{
public:
    bool ShellOpen(const std::string& target) override
    {
        opened.push_back(target);
        return true;
    }
    std::vector<std::string> opened;
};

// What the status bar showed at each report of an add.
struct DisplaySnapshot
{
    int filesDone;
    int total;
    QString status;
    bool barVisible;
    bool cancelVisible;
    int barValue;
    int barMaximum;
    bool versionVisible; // the text the bar lies over
};

class VideoListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = test::OpenMainWindow();
        m_window->show();
        m_window->ShowWizardStep(2);
        MessageBox::ClearShown();
        QProgressBar* bar = m_window->AddFilesProgressBar();
        const auto* version = bar->parentWidget()->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_NE(version, nullptr);
        QObject::connect(Actions(), &VideoListActions::AddFilesProgressed, [=, this](int done, int total) {
            m_snapshots.push_back({done, total, m_window->StatusText()->text(), bar->isVisible(),
                                   m_window->CancelOverlay()->isVisible(), bar->value(), bar->maximum(),
                                   version->isVisible()});
        });
    }

    QTreeView* List() const { return m_window->VideoFiles(); }
    QString Text(int row, int column) const { return test::ShownCell(List(), row, column).toString(); }
    VideoListModel& Model() const { return m_window->VideoList(); }
    VideoListActions* Actions() const { return m_window->VideoListCommands(); }
    QAction* MenuAction(const char* name) const { return m_window->findChild<QAction*>(name); }

    static std::string Clip(test::Clip clip)
    {
        const std::string path = test::ClipPath(clip);
        EXPECT_FALSE(path.empty()) << "ffmpeg could not make the clip";
        return path;
    }

    void AppendRows(const std::vector<std::string>& names)
    {
        for (const std::string& name : names)
            Model().Append(test::ListRow(name));
    }

    int ShownRows() const { return List()->model()->rowCount(); }

    QStringList Column(int column) const
    {
        QStringList texts;
        for (int i = 0; i < ShownRows(); ++i)
            texts.append(Text(i, column));
        return texts;
    }

    bool IsRowSelected(int row) const
    {
        return List()->selectionModel()->isSelected(List()->model()->index(row, 0));
    }

    void ClickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QRect rect = List()->visualRect(List()->model()->index(row, 0));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers, rect.center());
    }

    static void WaitFor(const std::function<bool()>& done)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    std::unique_ptr<MainWindow> m_window;
    std::vector<DisplaySnapshot> m_snapshots;
};

TEST_F(VideoListTest, DialogAddsTwoProbedRowsInOrderAndRemembersTheFolder)
{
    const std::string h264 = Clip(test::Clip::H264AacMp4);
    const std::string mpeg4 = Clip(test::Clip::Mpeg4Avi);
    FileDialogs::SetNextFiles({h264, mpeg4});
    m_window->Step2()->AddButton()->click();

    const FileDialogs::Call& call = FileDialogs::LastCall();
    EXPECT_EQ(call.title, "Add Video File(s)");
    EXPECT_EQ(call.startFolder, std::string(std::getenv("HOME")));
    EXPECT_EQ(call.filters, AddFilesDialogFilters());

    ASSERT_EQ(ShownRows(), 2);
    const QStringList first = {"h264", "AVC", "00:00:02", "160x120", "", "", QString::fromStdString(h264)};
    const QStringList second = {
        "mpeg4", "MPEG-4 Visual", "00:00:01", "160x120", "", "", QString::fromStdString(mpeg4)};
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(Text(0, column), first[column]) << "column " << column;
        EXPECT_EQ(Text(1, column), second[column]) << "column " << column;
    }
    EXPECT_EQ(Model().Count(), 2);
    EXPECT_EQ(Model().Row(2)->filepath, mpeg4);
    // Two files: the dialog's folder without a final separator.
    EXPECT_EQ(ReadAddFilesFolder(m_window->ApplicationSettingsPath(), "<none>"), test::ClipFolder());

    ASSERT_EQ(m_snapshots.size(), 3u);
    EXPECT_EQ(m_snapshots[0].status, "Adding Files...");
    EXPECT_TRUE(m_snapshots[0].barVisible);
    EXPECT_TRUE(m_snapshots[0].cancelVisible);
    EXPECT_FALSE(m_snapshots[0].versionVisible);
    EXPECT_EQ(m_snapshots[0].barValue, 1);
    EXPECT_EQ(m_snapshots[0].barMaximum, 2);
    EXPECT_TRUE(m_snapshots[1].barVisible);
    EXPECT_EQ(m_snapshots[1].barValue, 1);
    EXPECT_FALSE(m_snapshots[2].barVisible) << "hidden after the last file";
    EXPECT_FALSE(m_snapshots[2].cancelVisible);
    EXPECT_TRUE(m_snapshots[2].versionVisible);
    EXPECT_TRUE(m_snapshots[2].status.isEmpty());
    EXPECT_FALSE(m_window->AddFilesProgressBar()->isVisible());
}

TEST_F(VideoListTest, OneChosenFileShowsAddingFileAndStoresItsFolderWithSeparator)
{
    const std::string h264 = Clip(test::Clip::H264AacMp4);
    FileDialogs::SetNextFiles({h264});
    m_window->Step2()->AddButton()->click();
    ASSERT_EQ(Model().Count(), 1);
    ASSERT_FALSE(m_snapshots.empty());
    EXPECT_EQ(m_snapshots.front().status, "Adding File...");
    EXPECT_TRUE(m_snapshots.front().cancelVisible);
    EXPECT_EQ(ReadAddFilesFolder(m_window->ApplicationSettingsPath(), "<none>"), test::ClipFolder() + "/");
}

TEST_F(VideoListTest, CancelledDialogAddsNothing)
{
    m_window->Step2()->AddButton()->click();
    EXPECT_EQ(ShownRows(), 0);
    EXPECT_TRUE(m_snapshots.empty());
    EXPECT_EQ(ReadAddFilesFolder(m_window->ApplicationSettingsPath(), "<none>"), "<none>");
}

TEST_F(VideoListTest, DroppedFilesAndFoldersBecomeRows)
{
    const std::string h264 = Clip(test::Clip::H264AacMp4);
    const std::string folder = test::MakeTempFolder("dropped");
    const std::string notes = JoinPath(folder, "notes.txt");
    test::WriteTextFile(notes, "not a video");

    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QString::fromStdString(h264)),
                   QUrl::fromLocalFile(QString::fromStdString(notes)),
                   QUrl::fromLocalFile(QString::fromStdString(folder))});
    QWidget* target = List()->viewport();
    const QPoint where = target->rect().center();
    QDragEnterEvent enter(where, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(where), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    EXPECT_TRUE(drop.isAccepted());

    WaitFor([this] { return Model().Count() == 3 && !m_window->AddFilesProgressBar()->isVisible(); });
    EXPECT_EQ(Column(6), (QStringList{QString::fromStdString(h264), QString::fromStdString(notes),
                                      QString::fromStdString(folder)}));
    EXPECT_EQ(Text(0, 1), "AVC");
    EXPECT_EQ(Text(2, 2), "00:00:00") << "a folder gets the probe's fallback values";
    ASSERT_FALSE(m_snapshots.empty());
    EXPECT_EQ(m_snapshots.front().status, "Adding Files...");
    EXPECT_EQ(m_snapshots.front().barMaximum, 3);
    delete data;
}

TEST_F(VideoListTest, DropWithoutLocalFilesIsRefused)
{
    QMimeData data;
    data.setUrls({QUrl("https://example.org/video.avi")});
    QWidget* target = List()->viewport();
    QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_FALSE(enter.isAccepted());
    QCoreApplication::processEvents();
    EXPECT_EQ(Model().Count(), 0);
}

TEST_F(VideoListTest, CancelOrCloseDuringTheSecondOfFiveFilesLeavesTwoRows)
{
    const std::string h264 = Clip(test::Clip::H264AacMp4);
    auto* cancel = m_window->findChild<QLabel*>("CancelLabel");
    ASSERT_NE(cancel, nullptr);
    // Once the first file is in, the click or the close is queued: it waits while the second file
    // is probed and is handled when the loop next processes events.
    const std::function<void()> stops[] = {
        [cancel] {
            const QPoint onLink(cancel->contentsRect().left() +
                                    cancel->fontMetrics().horizontalAdvance("(Ca"),
                                cancel->height() / 2);
            const QPointF global = cancel->mapToGlobal(QPointF(onLink));
            QCoreApplication::postEvent(cancel,
                                        new QMouseEvent(QEvent::MouseButtonPress, QPointF(onLink), global,
                                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(cancel,
                                        new QMouseEvent(QEvent::MouseButtonRelease, QPointF(onLink), global,
                                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        },
        [this] { QTimer::singleShot(0, m_window.get(), [this] { m_window->close(); }); },
    };
    for (const auto& stop : stops) {
        m_window->show();
        m_window->VideoList().Clear();
        FileDialogs::SetNextFiles({h264, h264, h264, h264, h264});
        const QMetaObject::Connection watch =
            QObject::connect(Actions(), &VideoListActions::AddFilesProgressed, [&stop](int done, int) {
                if (done == 1)
                    stop();
            });
        m_window->Step2()->AddButton()->click();
        QObject::disconnect(watch);

        ASSERT_EQ(ShownRows(), 2);
        for (int row = 0; row < 2; ++row) {
            EXPECT_EQ(Text(row, 0), "h264") << "fully probed";
            EXPECT_EQ(Text(row, 3), "160x120");
        }
        EXPECT_FALSE(m_window->AddFilesProgressBar()->isVisible());
        EXPECT_FALSE(m_window->CancelOverlay()->isVisible());
        EXPECT_TRUE(m_window->StatusText()->text().isEmpty());
    }
}

TEST_F(VideoListTest, RemovingRowsOneThreeAndFourOfFiveKeepsTwoAndFive)
{
    AppendRows({"a", "b", "c", "d", "e"});
    ClickRow(0);
    ClickRow(2, Qt::ControlModifier);
    ClickRow(3, Qt::ControlModifier);
    EXPECT_EQ(Model().SelectedCount(), 3);
    EXPECT_EQ(Model().CurrentRow(), 4);
    m_window->Step2()->RemoveButton()->click();
    EXPECT_EQ(Column(0), (QStringList{"b", "e"}));
    ASSERT_EQ(Model().Count(), 2);
    EXPECT_EQ(Model().Row(1)->filename, "b");
    EXPECT_EQ(Model().Row(2)->filename, "e");
    EXPECT_EQ(Model().SelectedCount(), 0);
    EXPECT_FALSE(List()->selectionModel()->hasSelection());
    EXPECT_TRUE(MessageBox::Shown().empty());
}

TEST_F(VideoListTest, DelKeyOnTheListRemovesTheSelectedRows)
{
    AppendRows({"a", "b", "c"});
    QApplication::setActiveWindow(m_window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    List()->setFocus();
    ClickRow(1);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(Column(0), (QStringList{"a", "c"}));
}

TEST_F(VideoListTest, RemovingWithNothingSelectedChangesNothing)
{
    AppendRows({"a", "b"});
    m_window->Step2()->RemoveButton()->click();
    EXPECT_EQ(Column(0), (QStringList{"a", "b"}));
    EXPECT_TRUE(MessageBox::Shown().empty());
}

TEST_F(VideoListTest, SelectionSetInTheModelIsShownInTheList)
{
    AppendRows({"a", "b", "c"});
    m_window->VideoListView()->Select({1, 3}, 3);
    EXPECT_TRUE(IsRowSelected(0));
    EXPECT_FALSE(IsRowSelected(1));
    EXPECT_TRUE(IsRowSelected(2));
    EXPECT_EQ(List()->currentIndex().row(), 2);
}

TEST_F(VideoListTest, ClearAsksAndNoKeepsTheList)
{
    AppendRows({"a", "b"});
    MessageBox::SetNextAnswer(MessageBox::No);
    MenuAction("mnuRemoveItems_ClearList")->trigger();
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(MessageBox::Shown()[0].text, "Are you sure you would like to clear your list?");
    EXPECT_EQ(MessageBox::Shown()[0].icon, MessageIcon::Question);
    EXPECT_EQ(MessageBox::Shown()[0].title, "Zantrove");
    EXPECT_EQ(Column(0), (QStringList{"a", "b"}));

    MessageBox::SetNextAnswer(MessageBox::Yes);
    MenuAction("mnuRemoveItems_ClearList")->trigger();
    EXPECT_EQ(ShownRows(), 0);
    EXPECT_EQ(Model().Count(), 0);
}

TEST_F(VideoListTest, ClearOnAnEmptyListStillAsks)
{
    MessageBox::SetNextAnswer(MessageBox::No);
    MenuAction("mnuRemoveItems_ClearList")->trigger();
    EXPECT_EQ(MessageBox::Shown().size(), 1u);
}

TEST_F(VideoListTest, MenuHoldsTheEntriesInOrderWithSeparatorsAndSubmenu)
{
    QMenu* menu = m_window->findChild<QMenu*>("mnuEdit");
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> entries = menu->actions();
    ASSERT_EQ(entries.size(), 7);
    EXPECT_EQ(entries[0]->text(), "&Open Video File");
    EXPECT_TRUE(entries[1]->isSeparator());
    EXPECT_EQ(entries[2]->text(), "&Remove Items");
    ASSERT_NE(entries[2]->menu(), nullptr);
    EXPECT_TRUE(entries[3]->isSeparator());
    EXPECT_EQ(entries[4]->text(), "&Trim Video File");
    EXPECT_TRUE(entries[5]->isSeparator());
    EXPECT_EQ(entries[6]->text(), "&File Properties");

    const QList<QAction*> removeEntries = entries[2]->menu()->actions();
    ASSERT_EQ(removeEntries.size(), 2);
    EXPECT_EQ(removeEntries[0]->text(), "&Remove Selected Item(s)");
    EXPECT_EQ(removeEntries[0]->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_EQ(removeEntries[1]->text(), "&Clear List");
    for (QAction* entry : menu->actions())
        EXPECT_TRUE(entry->isEnabled());
}

TEST_F(VideoListTest, RightClickOnTheEmptyListPopsUpTheMenu)
{
    QWidget* target = List()->viewport();
    const QPoint where(20, target->height() - 10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, where, target->mapToGlobal(where));
    QApplication::sendEvent(target, &event);
    QMenu* menu = m_window->findChild<QMenu*>("mnuEdit");
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    menu->close();
}

TEST_F(VideoListTest, OpenAndPropertiesOnAnEmptyListShowTheirMessages)
{
    MenuAction("mnuEdit_OpenVideoFile")->trigger();
    MenuAction("mnuEdit_FileProperties")->trigger();
    ASSERT_EQ(MessageBox::Shown().size(), 2u);
    EXPECT_EQ(MessageBox::Shown()[0].text, "Please, select a file first!");
    EXPECT_EQ(MessageBox::Shown()[0].icon, MessageIcon::Information);
    EXPECT_EQ(MessageBox::Shown()[1].text, "Please, select a video file first.");
    EXPECT_EQ(MessageBox::Shown()[1].icon, MessageIcon::Exclamation);
}

TEST_F(VideoListTest, OpenHandsTheFocusedRowsPathToTheDesktop)
{
    RecordingPlatform platform;
    Platform::SetInstance(&platform);
    AppendRows({"a", "b", "c"});
    ClickRow(0);
    ClickRow(2, Qt::ControlModifier);
    MenuAction("mnuEdit_OpenVideoFile")->trigger();
    Platform::SetInstance(nullptr);
    EXPECT_EQ(platform.opened, (std::vector<std::string>{"/videos/c.avi"}));
    EXPECT_TRUE(MessageBox::Shown().empty());
}

class VideoListWithoutBus : public VideoListTest
{
protected:
    void SetUp() override
    {
        // A bus address where nothing listens: no file manager can answer.
        const std::string address = "unix:path=" + JoinPath(test::MakeTempFolder("bus"), "none");
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        VideoListTest::SetUp();
    }
};

TEST_F(VideoListWithoutBus, PropertiesShowOurOwnWindow)
{
    const std::string h264 = Clip(test::Clip::H264AacMp4);
    FileDialogs::SetNextFiles({h264});
    m_window->Step2()->AddButton()->click();
    ASSERT_EQ(Model().Count(), 1);
    ClickRow(0);
    MenuAction("mnuEdit_FileProperties")->trigger();

    EXPECT_TRUE(MessageBox::Shown().empty());
    QPointer<FilePropertiesWindow> window = m_window->findChild<FilePropertiesWindow*>("frmFileProperties");
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    ASSERT_NE(window->Value("Name:"), nullptr);
    EXPECT_EQ(window->Value("Name:")->text(), "h264.mp4");
    EXPECT_EQ(window->Value("Location:")->text(), QString::fromStdString(test::ClipFolder()));
    const auto bytes = static_cast<qint64>(std::filesystem::file_size(h264));
    EXPECT_TRUE(window->Value("Size:")->text().contains(QLocale().toString(bytes) + " bytes"))
        << window->Value("Size:")->text().toStdString();
    EXPECT_EQ(window->Value("Codec:")->text(), "AVC");
    EXPECT_EQ(window->Value("Duration:")->text(), "00:00:02");
    EXPECT_EQ(window->Value("Video Size:")->text(), "160x120");
    EXPECT_FALSE(window->Value("Modified:")->text().isEmpty());
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "deleted on close";
}

TEST_F(VideoListWithoutBus, PropertiesOfAMissingFileShowTheError)
{
    AppendRows({"gone"});
    ClickRow(0);
    MenuAction("mnuEdit_FileProperties")->trigger();
    ASSERT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(MessageBox::Shown()[0].text, "Error while trying to view file properties!");
    EXPECT_EQ(MessageBox::Shown()[0].icon, MessageIcon::Critical);
    EXPECT_EQ(m_window->findChild<FilePropertiesWindow*>("frmFileProperties"), nullptr);
}

} // namespace
} // namespace zantrove
