// SPDX-License-Identifier: GPL-3.0-or-later
// The video list of step 2: adding by drop and dialog on generated clips, removing, properties.
#include "storage/UserSettings.h"
#include "tests/media/MediaClips.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/FilePropertiesWindow.h"
#include "ui/VideoListActions.h"

#include <QMimeData>
#include <QUrl>

namespace zantrove {
namespace {

class VideoListTest : public test::MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        m_window->ShowWizardStep(2);
    }

    VideoListActions* Actions() const { return m_window->VideoListCommands(); }
    std::string Folder() const { return ReadAddFilesFolder(m_window->ApplicationSettingsPath(), "<none>"); }

    QStringList Column(int column) const
    {
        QStringList texts;
        for (int i = 0; i < List()->model()->rowCount(); ++i)
            texts.append(Cell(i, column).toString());
        return texts;
    }

    // A bus address where nothing listens: no file manager can answer for the properties.
    test::ScopedEnv m_bus{"DBUS_SESSION_BUS_ADDRESS",
                          "unix:path=" + JoinPath(test::MakeTempFolder("bus"), "none")};
    std::string m_h264 = test::ClipPath(test::Clip::H264AacMp4);
};

// The files the desktop starts the window with are added as a drop. A drop takes local files and
// folders, each probed, and refuses a remote address. The status bar reports each file and hides the
// bar and link at the end. One add at a time: Add is off while files go in, and files dropped
// meanwhile follow the add instead of running inside it.
TEST_F(VideoListTest, StartFilesAndDropsAddProbedLocalRowsOneAddAtATime)
{
    ASSERT_FALSE(m_h264.empty()) << "ffmpeg could not make the clip";
    Open({}, {m_h264});
    m_window->ShowWizardStep(2);
    auto* add = Find<PictureButton>("bttnAddVideos");
    ASSERT_TRUE(QTest::qWaitFor([&] { return List()->model()->rowCount() == 1 && add->isEnabled(); }, 20000));
    const std::string folder = test::MakeTempFolder("dropped");
    const std::string notes = JoinPath(folder, "notes.txt");
    const std::string late = JoinPath(folder, "late.txt");
    test::WriteTextFile(notes, "not a video");
    test::WriteTextFile(late, "dropped during the add");
    QProgressBar* bar = Find<QProgressBar>("AddFilesProgressBar");
    const QLabel* status = Find<QLabel>("StatusPanel2");
    const QWidget* cancel = Find("CancelOverlay");
    QStringList reports;
    bool addWasOff = false;
    QObject::connect(Actions(), &VideoListActions::AddFilesProgressed, [&](int done, int total) {
        // What the status bar shows: the text, the bar, the cancel link.
        reports.append(status->text() + "|" +
                       (bar->isVisible() ? QString("%1/%2").arg(bar->value()).arg(bar->maximum()) : "") +
                       (cancel->isVisible() ? "|cancel" : ""));
        if (total == 3 && done == 1) {
            addWasOff = !add->isEnabled();
            Actions()->AddDroppedFiles({QString::fromStdString(late)});
        }
    });

    QMimeData remote;
    remote.setUrls({QUrl("https://example.org/video.avi")});
    QWidget* target = List()->viewport();
    EXPECT_TRUE(target->acceptDrops()); // the events below are sent past the desktop's own check
    const QPoint where = target->rect().center();
    QDragEnterEvent refused(where, Qt::CopyAction, &remote, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &refused);
    EXPECT_FALSE(refused.isAccepted());
    const QStringList paths = {QString::fromStdString(m_h264), QString::fromStdString(notes),
                               QString::fromStdString(folder)};
    QMimeData data;
    for (const QString& path : paths)
        data.setUrls(data.urls() << QUrl::fromLocalFile(path));
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(where), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return List()->model()->rowCount() == 5 && add->isEnabled(); }, 20000));
    EXPECT_TRUE(addWasOff);
    EXPECT_EQ(Column(6), QStringList{QString::fromStdString(m_h264)} + paths +
                             QStringList{QString::fromStdString(late)});
    EXPECT_EQ(Column(1).join("|"), "AVC|AVC|UNKNOWN|UNKNOWN|UNKNOWN");
    // The first add ends before the dropped file starts its own.
    EXPECT_EQ(reports.join(" ; ").toStdString(),
              "Adding Files...|1/3|cancel ; Adding Files...|1/3|cancel ; Adding Files...|2/3|cancel ; "
              "| ; Adding Files...|1/1|cancel ; |");
}

// Once the first file is in, the close is queued: it waits while the second file is probed and
// is handled before the third, between two files.
TEST_F(VideoListTest, CloseDuringTheSecondOfFiveFilesLeavesTwoRows)
{
    FileDialogs::SetNextFiles({m_h264, m_h264, m_h264, m_h264, m_h264});
    QObject::connect(Actions(), &VideoListActions::AddFilesProgressed, [this](int done, int) {
        if (done == 1)
            QTimer::singleShot(0, m_window.get(), [this] { m_window->close(); });
    });
    auto* add = Find<PictureButton>("bttnAddVideos");
    add->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->isVisible() && add->isEnabled(); }, 60000));
    EXPECT_EQ(Column(3), (QStringList{"160x120", "160x120"})) << "two rows, fully probed";
}

TEST_F(VideoListTest, RemoveTakesTheSelectedRowsClearAsksFirstAndPropertiesShowOurWindowOrTheError)
{
    const auto clickRow = [this](int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QRect rect = List()->visualRect(List()->model()->index(row, 0));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, modifiers, rect.center());
    };
    for (const char* name : {"a", "b", "c", "d", "e"})
        AddRow(name);
    clickRow(0);
    clickRow(2, Qt::ControlModifier);
    clickRow(3, Qt::ControlModifier);
    Find<PictureButton>("bttnRemoveItems")->click();
    EXPECT_EQ(Column(0), (QStringList{"b", "e"}));
    EXPECT_FALSE(List()->selectionModel()->hasSelection());

    for (const auto answer : {MessageBox::No, MessageBox::Yes}) {
        MessageBox::SetNextAnswer(answer);
        MenuAction("mnuRemoveItems_ClearList")->trigger();
        EXPECT_EQ(Column(0).size(), answer == MessageBox::No ? 2 : 0);
    }

    MessageBox::ClearShown();
    AddRow("gone");
    FileDialogs::SetNextFiles({m_h264});
    Find<PictureButton>("bttnAddVideos")->click();
    EXPECT_EQ(Folder(), test::ClipFolder() + "/"); // one file: its folder with the separator
    clickRow(0);
    MenuAction("mnuEdit_FileProperties")->trigger();
    EXPECT_EQ(MessageBox::Shown().size(), 1u);
    EXPECT_EQ(m_window->findChild<FilePropertiesWindow*>("frmFileProperties"), nullptr);

    clickRow(1);
    MenuAction("mnuEdit_FileProperties")->trigger();
    EXPECT_EQ(MessageBox::Shown().size(), 1u);
    auto* window = m_window->findChild<FilePropertiesWindow*>("frmFileProperties");
    ASSERT_TRUE(window);
    const auto value = [&window](const char* name) { return test::Find<QLabel>(window, name)->text(); };
    EXPECT_EQ(value("lblLocation") + "/" + value("lblName"), QString::fromStdString(m_h264));
    EXPECT_EQ(value("lblCodec") + " " + value("lblDuration") + " " + value("lblVideoSize") + " " +
                  value("lblScan"),
              "AVC 00:00:02 160x120 Progressive");
}

} // namespace
} // namespace zantrove
