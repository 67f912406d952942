// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

#include "media/AddFilesFlow.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QAbstractButton;
class QAction;
class QLabel;
class QMenu;
class QPoint;
class QProgressBar;
class QWidget;

namespace zantrove {

class VideoListBinder;
class VideoListModel;
struct PreviewContext;

// What the user does with the video list of step 2: adding files by dialog or drop with the
// progress display in the status bar, the pop-up menu mnuEdit, the remove and trim buttons.
class VideoListActions : public QObject
{
    Q_OBJECT
public:
    // The controls the actions work with; none is owned.
    struct Widgets
    {
        QAbstractButton* addButton;
        QAbstractButton* removeButton;
        QAbstractButton* trimButton;
        QProgressBar* progressBar; // laid over the first status panel while files are added
        QWidget* cancelOverlay;    // holds cancelLabel; shown while files are added
        QLabel* cancelLabel;
        QLabel* statusText;
        QWidget* window; // what message boxes and dialogs open over
    };

    // settingsFolder is read at each add, as the window learns it only once it has loaded.
    VideoListActions(VideoListBinder& binder, const Widgets& widgets, const std::string& settingsFolder,
                     QObject* parent = nullptr);
    ~VideoListActions() override;

    // The preview asks the window for the settings of the moment; the button and a double-click on a
    // row open it as the menu entry does.
    void SetPreview(std::function<PreviewContext()> context, QAbstractButton* button);

public slots:
    void bttnAddVideos_Click();
    void AddDroppedFiles(const QStringList& paths);
    void CancelLabel_Click();
    void mnuEdit_OpenVideoFile_Click();
    void mnuRemoveItems_RemoveSelectedItems_Click();
    void mnuRemoveItems_ClearList_Click();
    void mnuEdit_TrimVideoFile_Click();
    void mnuEdit_PreviewVideoFile_Click();
    void mnuEdit_FileProperties_Click();
    void lvwVideoFiles_ContextMenu(const QPoint& position);
    // The menu key, Shift+F10: the menu at the current row, or at the list's top without one.
    void lvwVideoFiles_KeyboardContextMenu();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // At the start of an add (0 files done) and after each file, once the display shows it and
    // the events that came meanwhile have run.
    void AddFilesProgressed(int filesDone, int total);
    // The progress bar went up over the first status panel (true) or came down again (false).
    void StatusPanelCovered(bool covered);

private:
    void BuildMenu();
    QAction* AddMenuAction(QMenu* menu, const char* name, std::string_view caption);
    AddFilesFlow& Flow();
    bool IsAdding() const;
    void StartAdd(std::vector<std::string> paths, bool singleDialogFile);
    // The add's next files, up to one whose events are to run first.
    void ContinueAdd();
    void ShowAddProgress(const AddFilesProgress& progress);
    // What follows a file's display: the end of the display after the last, and the signal.
    void EndReport(const AddFilesProgress& progress);
    void HideAddProgress();
    void CoverStatusPanel(bool covered);

    VideoListBinder& m_binder;
    Widgets m_widgets;
    const std::string& m_settingsFolder;
    VideoListModel& m_model;
    std::unique_ptr<AddFilesFlow> m_flow;
    std::string m_flowSettingsFolder;
    // A file's display whose signal waits until the events after it have run.
    std::optional<AddFilesProgress> m_unsaid;
    std::deque<std::vector<std::string>> m_waitingDrops;
    QMenu* m_menu = nullptr;
    QMenu* m_removeMenu = nullptr;
    std::function<PreviewContext()> m_previewContext;
};

} // namespace zantrove
