// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/VideoListBinder.h"

#include "media/VideoListModel.h"
#include "ui/VideoListTableModel.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTreeView>
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

VideoListBinder::VideoListBinder(VideoListModel& model, QTreeView* list, QObject* parent)
    : QObject(parent), m_model(model), m_table(new VideoListTableModel(model, this)), m_list(list)
{
    m_list->setModel(m_table);
    LayOutColumns();
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setAcceptDrops(true);
    m_list->viewport()->setAcceptDrops(true);
    // Drag events reach a list view through its viewport.
    m_list->viewport()->installEventFilter(this);

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { ReadSelection(); });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ReadSelection(); });
    // Registered after the table's, so the view has its rows again when this one is told.
    m_listener = m_model.AddListener([this](const VideoListChange& change) { OnModelChanged(change); });
    ShowSelection();
}

VideoListBinder::~VideoListBinder()
{
    m_model.RemoveListener(m_listener);
}

// The widths are the list's design in twips; the hidden columns still hold data.
void VideoListBinder::LayOutColumns()
{
    QHeaderView* header = m_list->header();
    header->setStretchLastSection(false);
    for (const VideoColumnInfo& info : kVideoColumns) {
        const int column = static_cast<int>(info.column);
        if (info.widthTwips == 0)
            m_list->setColumnHidden(column, true);
        else
            m_list->setColumnWidth(column, TwipsToPixels(info.widthTwips));
    }
    header->setSectionResizeMode(static_cast<int>(VideoColumn::Filename), QHeaderView::Stretch);
    // The design width cuts the longest codec name the probe gives for the dialog's types (an flv's).
    const int codec = static_cast<int>(VideoColumn::Codec);
    const int codecWidth = m_list->fontMetrics().horizontalAdvance(QStringLiteral("Sorenson Spark")) + 24;
    m_list->setColumnWidth(codec, std::max(m_list->columnWidth(codec), codecWidth));
}

void VideoListBinder::OnModelChanged(const VideoListChange& change)
{
    // The view takes its selection away with the rows, as the model does; only the focus differs,
    // as the view hands it to a neighbour while the model drops it.
    if (change.phase == VideoListChange::Phase::After && change.kind == VideoListChange::Kind::RowsRemoved)
        ShowCurrentRow();
}

// The model's current row is the focused row while it is selected; otherwise the first selected
// row, so single-file operations never act on a row the user cannot see as selected.
void VideoListBinder::ReadSelection()
{
    if (m_drawing || m_table->IsChanging())
        return;
    std::vector<bool> marked(static_cast<std::size_t>(m_model.Count()), false);
    for (const QItemSelectionRange& range : m_list->selectionModel()->selection()) {
        for (int row = std::max(range.top(), 0); row <= range.bottom() && row < m_model.Count(); ++row)
            marked[static_cast<std::size_t>(row)] = true;
    }
    std::vector<std::int16_t> selected;
    for (std::size_t row = 0; row < marked.size(); ++row) {
        if (marked[row])
            selected.push_back(static_cast<std::int16_t>(row + 1));
    }
    m_model.SelectOnly(selected);
    const QModelIndex focus = m_list->selectionModel()->currentIndex();
    const int focused = focus.isValid() ? focus.row() + 1 : 0;
    std::int16_t current = selected.empty() ? 0 : selected.front();
    if (std::find(selected.begin(), selected.end(), focused) != selected.end())
        current = static_cast<std::int16_t>(focused);
    m_model.SetCurrentRow(current);
}

void VideoListBinder::ShowSelection()
{
    const DrawingGuard guard(m_drawing);
    QItemSelection rows;
    const int lastColumn = m_table->columnCount() - 1;
    for (std::int16_t index = 1; index <= m_model.Count(); ++index) {
        if (m_model.IsSelected(index))
            rows.select(m_table->index(index - 1, 0), m_table->index(index - 1, lastColumn));
    }
    m_list->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ShowCurrentRow();
}

void VideoListBinder::ShowCurrentRow()
{
    const DrawingGuard guard(m_drawing);
    QItemSelectionModel* selection = m_list->selectionModel();
    if (const std::int16_t current = m_model.CurrentRow(); current > 0)
        selection->setCurrentIndex(m_table->index(current - 1, 0), QItemSelectionModel::NoUpdate);
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
