// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/VideoListActions.h"

#include "app/DebugLog.h"
#include "media/AddFilesFlow.h"
#include "media/ListOperations.h"
#include "media/VideoListModel.h"
#include "platform/FileDialogs.h"
#include "platform/FileProperties.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "trim/TrimDialogModel.h"
#include "ui/FilePropertiesWindow.h"
#include "ui/ModalWindow.h"
#include "ui/PreviewVideoDialog.h"
#include "ui/QtText.h"
#include "ui/TrimVideoDialog.h"
#include "ui/VideoListBinder.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTreeView>

namespace zantrove {

namespace {
// Across the visible columns, so the menu opens below the whole row.
QRect RowRect(const QTreeView* list, const QModelIndex& index)
{
    const QHeaderView* header = list->header();
    const int first = header->logicalIndexAt(-header->offset());
    const int last = header->logicalIndexAt(header->length() - header->offset() - 1);
    return list->visualRect(index.siblingAtColumn(first)) | list->visualRect(index.siblingAtColumn(last));
}
} // namespace

VideoListActions::VideoListActions(VideoListBinder& binder, const Widgets& widgets,
                                   const std::string& settingsFolder, QObject* parent)
    : QObject(parent), m_binder(binder), m_widgets(widgets), m_settingsFolder(settingsFolder),
      m_model(binder.Model())
{
    BuildMenu();
    QTreeView* list = m_binder.List();
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, &VideoListActions::lvwVideoFiles_ContextMenu);
    list->installEventFilter(this);
    // The drop is accepted at once and the files are added afterwards, so the program the files
    // were dragged from is not kept waiting while they are probed.
    connect(&m_binder, &VideoListBinder::FilesDropped, this, &VideoListActions::AddDroppedFiles,
            Qt::QueuedConnection);

    connect(m_widgets.addButton, &QAbstractButton::clicked, this, &VideoListActions::bttnAddVideos_Click);
    connect(m_widgets.removeButton, &QAbstractButton::clicked, this,
            &VideoListActions::mnuRemoveItems_RemoveSelectedItems_Click);
    connect(m_widgets.trimButton, &QAbstractButton::clicked, this,
            &VideoListActions::mnuEdit_TrimVideoFile_Click);
    connect(m_widgets.cancelLabel, &QLabel::linkActivated, this, &VideoListActions::CancelLabel_Click);
}

VideoListActions::~VideoListActions() = default;

QAction* VideoListActions::AddMenuAction(QMenu* menu, const char* name, std::string_view caption)
{
    QAction* action = menu->addAction(Text(caption));
    action->setObjectName(name);
    return action;
}

void VideoListActions::BuildMenu()
{
    QTreeView* list = m_binder.List();
    m_menu = new QMenu("&Edit", list);
    m_menu->setObjectName("mnuEdit");
    connect(AddMenuAction(m_menu, "mnuEdit_OpenVideoFile", kOpenVideoFileCaption), &QAction::triggered, this,
            &VideoListActions::mnuEdit_OpenVideoFile_Click);
    m_menu->addSeparator()->setObjectName("mnuEdit_Separator1");

    m_removeMenu = m_menu->addMenu(Text(kRemoveItemsCaption));
    m_removeMenu->setObjectName("mnuEdit_RemoveItems");
    QAction* removeSelected =
        AddMenuAction(m_removeMenu, "mnuRemoveItems_RemoveSelectedItems", kRemoveSelectedItemsCaption);
    removeSelected->setShortcut(QKeySequence(Qt::Key_Delete));
    // Del works on the list itself too, not only while the menu is open.
    removeSelected->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    list->addAction(removeSelected);
    connect(removeSelected, &QAction::triggered, this,
            &VideoListActions::mnuRemoveItems_RemoveSelectedItems_Click);
    connect(AddMenuAction(m_removeMenu, "mnuRemoveItems_ClearList", kClearListCaption), &QAction::triggered,
            this, &VideoListActions::mnuRemoveItems_ClearList_Click);

    m_menu->addSeparator()->setObjectName("mnuEdit_Separator2");
    connect(AddMenuAction(m_menu, "mnuEdit_TrimVideoFile", kTrimVideoFileCaption), &QAction::triggered, this,
            &VideoListActions::mnuEdit_TrimVideoFile_Click);
    connect(AddMenuAction(m_menu, "mnuEdit_PreviewVideoFile", kPreviewVideoFileCaption), &QAction::triggered,
            this, &VideoListActions::mnuEdit_PreviewVideoFile_Click);
    m_menu->addSeparator()->setObjectName("mnuEdit_Separator3");
    connect(AddMenuAction(m_menu, "mnuEdit_FileProperties", kFilePropertiesCaption), &QAction::triggered,
            this, &VideoListActions::mnuEdit_FileProperties_Click);
}

void VideoListActions::lvwVideoFiles_ContextMenu(const QPoint& position)
{
    m_menu->popup(m_binder.List()->viewport()->mapToGlobal(position));
}

void VideoListActions::lvwVideoFiles_KeyboardContextMenu()
{
    if (m_menu->isVisible())
        return; // the platform may send both the key and a context menu event for one press
    QTreeView* list = m_binder.List();
    QPoint where(0, 0);
    if (const QModelIndex current = list->currentIndex(); current.isValid()) {
        list->scrollTo(current.siblingAtColumn(0));
        where = RowRect(list, current).bottomLeft();
    }
    lvwVideoFiles_ContextMenu(where);
}

bool VideoListActions::eventFilter(QObject* watched, QEvent* event)
{
    // A keyboard context menu event carries the mouse's place or the list's centre, not the row's.
    if (watched == m_binder.List() && event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        lvwVideoFiles_KeyboardContextMenu();
        return true;
    }
    if (watched == m_binder.List() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Menu ||
            (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            lvwVideoFiles_KeyboardContextMenu();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

AddFilesFlow& VideoListActions::Flow()
{
    // One flow for all adds, so a cancel reaches every running loop; made again only while idle
    // when the settings folder has changed.
    if (!m_flow || (!m_flow->IsAdding() && m_settingsFolder != m_flowSettingsFolder)) {
        m_flow = std::make_unique<AddFilesFlow>(m_model, m_settingsFolder, Platform::Instance().HomeFolder());
        m_flowSettingsFolder = m_settingsFolder;
    }
    return *m_flow;
}

void VideoListActions::ShowAddProgress(const AddFilesProgress& progress)
{
    QProgressBar* bar = m_widgets.progressBar;
    if (!progress.finished) {
        m_widgets.statusText->setText(Text(progress.statusText));
        m_widgets.cancelOverlay->show();
        bar->setRange(0, progress.maximum);
        bar->show();
        CoverStatusPanel(true);
    }
    bar->setValue(progress.value);
    if (progress.pumpEvents)
        QCoreApplication::processEvents();
    if (progress.finished)
        HideAddProgress();
    emit AddFilesProgressed(progress.filesDone, progress.maximum);
}

// The bar lies over the version text in the first status panel; the thin bar alone would leave
// half of the text showing, so whoever owns the text hides it while the bar is up.
void VideoListActions::CoverStatusPanel(bool covered)
{
    if (covered)
        m_widgets.progressBar->raise();
    emit StatusPanelCovered(covered);
}

void VideoListActions::HideAddProgress()
{
    CoverStatusPanel(false);
    m_widgets.statusText->clear();
    m_widgets.cancelOverlay->hide();
    m_widgets.progressBar->hide();
}

void VideoListActions::bttnAddVideos_Click()
{
    const auto choose = [this](const AddFilesDialogSetup& setup) {
        return FileDialogs::OpenFiles(m_widgets.window, setup.title, setup.startFolder, setup.filters);
    };
    const AddFilesResult added =
        Flow().AddVideoFiles(choose, [this](const AddFilesProgress& progress) { ShowAddProgress(progress); });
    if (added.folderNotKept)
        ApplicationLog().LogEvent(added.folderNotKept->Text(), DebugLog::Information);
}

void VideoListActions::AddDroppedFiles(const QStringList& paths)
{
    std::vector<std::string> dropped;
    dropped.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths)
        dropped.push_back(path.toStdString());
    Flow().AddDroppedFiles(dropped, [this](const AddFilesProgress& progress) { ShowAddProgress(progress); });
}

void VideoListActions::CancelLabel_Click()
{
    if (m_flow)
        m_flow->Cancel();
    HideAddProgress();
}

void VideoListActions::mnuEdit_OpenVideoFile_Click()
{
    const Verdict opened = OpenSelectedVideoFile(m_model, [](const std::string& path) {
        // Not shown: the list names no reason for a file that does not open.
        const auto started = Platform::Instance().ShellOpen(path);
        if (!started)
            ApplicationLog().LogEvent(started.error().Text(), DebugLog::Information);
        return started.has_value();
    });
    if (!opened)
        MessageBox::Show(m_widgets.window, opened.error());
}

void VideoListActions::mnuRemoveItems_RemoveSelectedItems_Click()
{
    m_model.RemoveSelectedListItems();
}

void VideoListActions::mnuRemoveItems_ClearList_Click()
{
    ClearListItems(m_model, [this](const UserMessage& question) {
        return MessageBox::Ask(m_widgets.window, question) == MessageBox::Yes;
    });
}

void VideoListActions::mnuEdit_TrimVideoFile_Click()
{
    if (const Verdict trimmable = CheckTrimSelection(m_model); !trimmable) {
        MessageBox::Show(m_widgets.window, trimmable.error());
        return;
    }
    OpenModal(new TrimVideoDialog(m_model, m_model.CurrentRow(), m_widgets.window));
}

void VideoListActions::SetPreview(std::function<PreviewContext()> context, QAbstractButton* button)
{
    m_previewContext = std::move(context);
    connect(button, &QAbstractButton::clicked, this, &VideoListActions::mnuEdit_PreviewVideoFile_Click);
    connect(m_binder.List(), &QAbstractItemView::doubleClicked, this,
            &VideoListActions::mnuEdit_PreviewVideoFile_Click);
}

void VideoListActions::mnuEdit_PreviewVideoFile_Click()
{
    const VideoRow* row = m_model.Row(m_model.CurrentRow());
    if (!row) {
        MessageBox::Show(m_widgets.window, SelectFileFirstMessage());
        return;
    }
    if (m_previewContext)
        OpenModal(new PreviewVideoDialog(*row, m_previewContext(), m_widgets.window));
}

void VideoListActions::mnuEdit_FileProperties_Click()
{
    const VideoRow* row = m_model.Row(m_model.CurrentRow());
    const VideoRow shown = row ? *row : VideoRow{};
    const Verdict shownSheet = ShowSelectedFileProperties(m_model, [this, &shown](const std::string& path) {
        // The desktop's own sheet first; where no file manager offers one, our window.
        return ShowFileProperties(path) || FilePropertiesWindow::Open(shown, m_widgets.window) != nullptr;
    });
    if (!shownSheet)
        MessageBox::Show(m_widgets.window, shownSheet.error());
}

} // namespace zantrove
