// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/VideoListBinder.h"

#include "media/VideoListModel.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>

namespace zantrove {

namespace {
QStringList LocalPaths(const QMimeData* data)
{
    QStringList paths;
    if (data == nullptr || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

// Sets a flag for the lifetime of the guard, restoring what it was.
class DrawingGuard
{
public:
    explicit DrawingGuard(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~DrawingGuard() { m_flag = m_old; }
    DrawingGuard(const DrawingGuard&) = delete;
    DrawingGuard& operator=(const DrawingGuard&) = delete;

private:
    bool& m_flag;
    bool m_old;
};
} // namespace

VideoListBinder::VideoListBinder(VideoListModel& model, QTreeWidget* list, QObject* parent)
    : QObject(parent), m_model(model), m_list(list)
{
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setAcceptDrops(true);
    m_list->viewport()->setAcceptDrops(true);
    // Drag events reach a list view through its viewport.
    m_list->viewport()->installEventFilter(this);

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { ReadSelection(); });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ReadSelection(); });
    m_listener = m_model.AddListener([this](const VideoListChange& change) { OnModelChanged(change); });
    Refresh();
}

VideoListBinder::~VideoListBinder()
{
    m_model.RemoveListener(m_listener);
}

void VideoListBinder::Select(const std::vector<std::int16_t>& rows, std::int16_t current)
{
    m_model.SelectOnly(rows);
    m_model.SetCurrentRow(current);
    ShowSelection();
}

void VideoListBinder::Refresh()
{
    const DrawingGuard guard(m_drawing);
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    for (const VideoRow& row : m_model.Rows()) {
        auto* item = new QTreeWidgetItem;
        FillItem(item, row);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    ShowSelection();
}

void VideoListBinder::FillItem(QTreeWidgetItem* item, const VideoRow& row) const
{
    for (const VideoColumnInfo& info : kVideoColumns)
        item->setText(static_cast<int>(info.column), QString::fromStdString(row.Field(info.column)));
    // The trim columns are hidden, so a trimmed row carries the trim picture and its times.
    const int name = static_cast<int>(VideoColumn::Filename);
    QString tip = QString::fromStdString(row.filepath);
    if (row.IsTrimmed())
        tip += QString::fromStdString("\nTrimmed to: " + row.beginTime + " - " + row.endTime);
    item->setToolTip(name, tip);
    item->setIcon(name, row.IsTrimmed() ? QIcon(":/buttons/trim.svg") : QIcon());
}

void VideoListBinder::OnModelChanged(const VideoListChange& change)
{
    if (change.phase != VideoListChange::Phase::After)
        return;
    const DrawingGuard guard(m_drawing);
    switch (change.kind) {
    case VideoListChange::Kind::RowsInserted:
        for (std::int16_t index = change.first; index <= change.last; ++index) {
            if (const VideoRow* row = m_model.Row(index)) {
                auto* item = new QTreeWidgetItem;
                FillItem(item, *row);
                m_list->insertTopLevelItem(index - 1, item);
            }
        }
        break;
    case VideoListChange::Kind::RowsChanged:
        for (std::int16_t index = change.first; index <= change.last; ++index) {
            const VideoRow* row = m_model.Row(index);
            if (QTreeWidgetItem* item = m_list->topLevelItem(index - 1); row != nullptr && item != nullptr)
                FillItem(item, *row);
        }
        break;
    case VideoListChange::Kind::RowsRemoved:
        // Removed from the back, so the indexes still to go stay valid.
        for (std::int16_t index = change.last; index >= change.first; --index)
            delete m_list->takeTopLevelItem(index - 1);
        // The widget takes its selection away with the items, as the model does; only the focus
        // differs, as the widget hands it to a neighbour while the model drops it.
        ShowCurrentRow();
        break;
    case VideoListChange::Kind::Reset:
        m_list->clear();
        break;
    }
}

// The model's current row is the focused row while it is selected; otherwise the first selected
// row, so single-file operations never act on a row the user cannot see as selected.
void VideoListBinder::ReadSelection()
{
    if (m_drawing)
        return;
    const int count = std::min<int>(m_model.Count(), m_list->topLevelItemCount());
    std::vector<std::int16_t> selected;
    for (int i = 0; i < count; ++i) {
        if (m_list->topLevelItem(i)->isSelected())
            selected.push_back(static_cast<std::int16_t>(i + 1));
    }
    m_model.SelectOnly(selected);
    const int focused = m_list->indexOfTopLevelItem(m_list->currentItem()) + 1;
    std::int16_t current = selected.empty() ? 0 : selected.front();
    if (std::find(selected.begin(), selected.end(), focused) != selected.end())
        current = static_cast<std::int16_t>(focused);
    m_model.SetCurrentRow(current);
}

void VideoListBinder::ShowSelection()
{
    const DrawingGuard guard(m_drawing);
    QItemSelectionModel* selection = m_list->selectionModel();
    QItemSelection rows;
    const int lastColumn = m_list->columnCount() - 1;
    for (std::int16_t index = 1; index <= m_model.Count(); ++index) {
        if (!m_model.IsSelected(index))
            continue;
        if (QTreeWidgetItem* item = m_list->topLevelItem(index - 1)) {
            const QModelIndex first = m_list->indexFromItem(item, 0);
            rows.select(first, first.siblingAtColumn(lastColumn));
        }
    }
    selection->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ShowCurrentRow();
}

void VideoListBinder::ShowCurrentRow()
{
    const DrawingGuard guard(m_drawing);
    QItemSelectionModel* selection = m_list->selectionModel();
    if (QTreeWidgetItem* item = m_list->topLevelItem(m_model.CurrentRow() - 1);
        item && m_model.CurrentRow() > 0)
        selection->setCurrentIndex(m_list->indexFromItem(item, 0), QItemSelectionModel::NoUpdate);
    else
        selection->clearCurrentIndex();
}

bool VideoListBinder::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (LocalPaths(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = LocalPaths(drop->mimeData());
        if (paths.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        emit FilesDropped(paths);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zantrove
