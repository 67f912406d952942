// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

#include <memory>
#include <string>
#include <string_view>

class QAction;
class QMenu;
class QPoint;

namespace zantrove {

class AddFilesFlow;
class MainWindow;
class VideoListBinder;
class VideoListModel;
struct AddFilesProgress;
struct VideoRow;

// What the user does with the video list of step 2: adding files by dialog or drop with the
// progress display in the status bar, the pop-up menu mnuEdit, the remove and trim buttons.
class VideoListActions : public QObject
{
    Q_OBJECT
public:
    VideoListActions(MainWindow& window, VideoListBinder& binder);
    ~VideoListActions() override;

    QMenu* EditMenu() const { return m_menu; }
    QMenu* RemoveItemsMenu() const { return m_removeMenu; }

public slots:
    void bttnAddVideos_Click();
    void AddDroppedFiles(const QStringList& paths);
    void CancelLabel_Click();
    void mnuEdit_OpenVideoFile_Click();
    void mnuRemoveItems_RemoveSelectedItems_Click();
    void mnuRemoveItems_ClearList_Click();
    void mnuEdit_TrimVideoFile_Click();
    void mnuEdit_FileProperties_Click();
    void lvwVideoFiles_ContextMenu(const QPoint& position);
    // The menu key, Shift+F10: the menu at the current row, or at the list's top without one.
    void lvwVideoFiles_KeyboardContextMenu();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // At the start of an add (0 files done) and after each file, once the display shows it and
    // pending events have run.
    void AddFilesProgressed(int filesDone, int total);

private:
    void BuildMenu();
    QAction* AddMenuAction(QMenu* menu, const char* name, std::string_view caption);
    AddFilesFlow& Flow();
    void ShowAddProgress(const AddFilesProgress& progress);
    void HideAddProgress();
    void CoverVersionText(bool covered);

    MainWindow& m_window;
    VideoListBinder& m_binder;
    VideoListModel& m_model;
    std::unique_ptr<AddFilesFlow> m_flow;
    std::string m_flowSettingsFolder;
    QMenu* m_menu = nullptr;
    QMenu* m_removeMenu = nullptr;
};

} // namespace zantrove
