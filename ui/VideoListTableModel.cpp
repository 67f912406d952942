// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/VideoListTableModel.h"

#include "media/VideoListModel.h"

namespace zantrove {

VideoListTableModel::VideoListTableModel(VideoListModel& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_trimIcon(":/buttons/trim.svg")
{
    m_listener = m_list.AddListener([this](const VideoListChange& change) { OnListChanged(change); });
}

VideoListTableModel::~VideoListTableModel()
{
    m_list.RemoveListener(m_listener);
}

int VideoListTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_list.Count();
}

int VideoListTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(kVideoColumns.size());
}

QVariant VideoListTableModel::data(const QModelIndex& index, int role) const
{
    const VideoRow* row = index.isValid() ? m_list.Row(static_cast<std::int16_t>(index.row() + 1)) : nullptr;
    if (row == nullptr || index.column() >= columnCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(
            row->Field(kVideoColumns[static_cast<std::size_t>(index.column())].column));
    // The trim columns are hidden, so a trimmed row carries the trim picture and its times. The path
    // tells apart rows of the same name, wherever the pointer rests on the row.
    if (role == Qt::ToolTipRole) {
        QString tip = QString::fromStdString(row->filepath);
        if (row->IsTrimmed())
            tip += QString::fromStdString("\nTrimmed to: " + row->beginTime + " - " + row->endTime);
        return tip;
    }
    if (index.column() != static_cast<int>(VideoColumn::Filename))
        return {};
    if (role == Qt::DecorationRole)
        return row->IsTrimmed() ? m_trimIcon : QIcon();
    return {};
}

QVariant VideoListTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const std::string_view header = kVideoColumns[static_cast<std::size_t>(section)].header;
    return QString::fromUtf8(header.data(), static_cast<qsizetype>(header.size()));
}

void VideoListTableModel::OnListChanged(const VideoListChange& change)
{
    const int first = change.first - 1;
    const int last = change.last - 1;
    const bool before = change.phase == VideoListChange::Phase::Before;
    if (before)
        m_changing = true;
    switch (change.kind) {
    case VideoListChange::Kind::RowsInserted:
        before ? beginInsertRows({}, first, last) : endInsertRows();
        break;
    case VideoListChange::Kind::RowsRemoved:
        before ? beginRemoveRows({}, first, last) : endRemoveRows();
        break;
    case VideoListChange::Kind::Reset:
        before ? beginResetModel() : endResetModel();
        break;
    case VideoListChange::Kind::RowsChanged:
        if (!before)
            emit dataChanged(index(first, 0), index(last, columnCount() - 1));
        break;
    }
    // Cleared only once the views have moved their rows and selections.
    if (!before)
        m_changing = false;
}

} // namespace zantrove
