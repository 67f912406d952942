// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/VideoListModel.h"

#include <algorithm>

namespace zantrove {

const std::string& VideoRow::Field(VideoColumn column) const
{
    switch (column) {
    case VideoColumn::Filename:
        return filename;
    case VideoColumn::Codec:
        return codec;
    case VideoColumn::Duration:
        return duration;
    case VideoColumn::VideoSize:
        return videoSize;
    case VideoColumn::BeginTime:
        return beginTime;
    case VideoColumn::EndTime:
        return endTime;
    case VideoColumn::Filepath:
        break;
    }
    return filepath;
}

std::string& VideoRow::Field(VideoColumn column)
{
    return const_cast<std::string&>(static_cast<const VideoRow&>(*this).Field(column));
}

std::string RowDumpLine(const VideoRow& row)
{
    std::string line;
    for (const auto& info : kVideoColumns) {
        if (info.column != VideoColumn::Filename)
            line += " | ";
        line += row.Field(info.column);
    }
    return line;
}

const VideoRow* VideoListModel::Row(std::int16_t index) const
{
    return IsValid(index) ? &m_rows[static_cast<std::size_t>(index - 1)] : nullptr;
}

std::int16_t VideoListModel::Append(VideoRow row)
{
    if (Count() >= kMaxRows)
        return 0;
    const auto index = static_cast<std::int16_t>(Count() + 1);
    Notify(VideoListChange::Kind::RowsInserted, VideoListChange::Phase::Before, index, index);
    m_rows.push_back(std::move(row));
    m_selected.push_back(false);
    Notify(VideoListChange::Kind::RowsInserted, VideoListChange::Phase::After, index, index);
    return index;
}

bool VideoListModel::SetRow(std::int16_t index, VideoRow row)
{
    if (!IsValid(index))
        return false;
    m_rows[static_cast<std::size_t>(index - 1)] = std::move(row);
    NotifyChanged(index);
    return true;
}

bool VideoListModel::SetTrimTimes(std::int16_t index, std::string beginTime, std::string endTime)
{
    if (!IsValid(index))
        return false;
    auto& row = m_rows[static_cast<std::size_t>(index - 1)];
    row.beginTime = std::move(beginTime);
    row.endTime = std::move(endTime);
    NotifyChanged(index);
    return true;
}

bool VideoListModel::RemoveRow(std::int16_t index)
{
    if (!IsValid(index))
        return false;
    Notify(VideoListChange::Kind::RowsRemoved, VideoListChange::Phase::Before, index, index);
    m_rows.erase(m_rows.begin() + (index - 1));
    m_selected.erase(m_selected.begin() + (index - 1));
    if (m_current == index)
        m_current = 0;
    else if (m_current > index)
        --m_current;
    Notify(VideoListChange::Kind::RowsRemoved, VideoListChange::Phase::After, index, index);
    return true;
}

void VideoListModel::RemoveSelectedListItems()
{
    for (std::int16_t i = Count(); i >= 1; --i) {
        if (IsSelected(i))
            RemoveRow(i);
    }
}

void VideoListModel::Clear()
{
    const std::int16_t count = Count();
    Notify(VideoListChange::Kind::Reset, VideoListChange::Phase::Before, 1, count);
    m_rows.clear();
    m_selected.clear();
    m_current = 0;
    Notify(VideoListChange::Kind::Reset, VideoListChange::Phase::After, 1, count);
}

void VideoListModel::SetSelected(std::int16_t index, bool selected)
{
    if (IsValid(index))
        m_selected[static_cast<std::size_t>(index - 1)] = selected;
}

bool VideoListModel::IsSelected(std::int16_t index) const
{
    return IsValid(index) && m_selected[static_cast<std::size_t>(index - 1)];
}

void VideoListModel::SelectOnly(const std::vector<std::int16_t>& indexes)
{
    std::fill(m_selected.begin(), m_selected.end(), false);
    for (const std::int16_t index : indexes)
        SetSelected(index, true);
}

std::int16_t VideoListModel::SelectedCount() const
{
    return static_cast<std::int16_t>(std::count(m_selected.begin(), m_selected.end(), true));
}

void VideoListModel::SetCurrentRow(std::int16_t index)
{
    m_current = IsValid(index) ? index : 0;
}

void VideoListModel::Notify(VideoListChange::Kind kind, VideoListChange::Phase phase, std::int16_t first,
                            std::int16_t last) const
{
    m_listeners.Notify(VideoListChange{kind, phase, first, last});
}

void VideoListModel::NotifyChanged(std::int16_t index) const
{
    Notify(VideoListChange::Kind::RowsChanged, VideoListChange::Phase::Before, index, index);
    Notify(VideoListChange::Kind::RowsChanged, VideoListChange::Phase::After, index, index);
}

} // namespace zantrove
