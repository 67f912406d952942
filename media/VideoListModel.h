// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Listeners.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

// The list's columns in display order; the value is the column (sub-item) number.
enum class VideoColumn
{
    Filename = 0,
    Codec = 1,
    Duration = 2,
    VideoSize = 3,
    BeginTime = 4,
    EndTime = 5,
    Filepath = 6,
};

struct VideoColumnInfo
{
    VideoColumn column;
    std::string_view header;
    int widthTwips; // 0: hidden, but the column still holds data
};

inline constexpr std::array<VideoColumnInfo, 7> kVideoColumns{{
    {VideoColumn::Filename, "Filename", 2100},
    {VideoColumn::Codec, "Codec", 1440},
    {VideoColumn::Duration, "Duration", 1440},
    {VideoColumn::VideoSize, "Video Size", 1440},
    {VideoColumn::BeginTime, "Begin Time", 0},
    {VideoColumn::EndTime, "End Time", 0},
    {VideoColumn::Filepath, "Filepath", 0},
}};

// 1440 twips make an inch: 15 twips a pixel at 96 dots per inch.
constexpr int TwipsToPixels(int twips, int dotsPerInch = 96)
{
    return twips * dotsPerInch / 1440;
}

// One file of the conversion run. Trim state has no field of its own: see IsTrimmed.
struct VideoRow
{
    std::string filename;    // the name without folder and extension, as the media library reports it
    std::string codec;       // the video codec as reported, or "UNKNOWN"
    std::string duration;    // "hh:mm:ss"
    std::string videoSize;   // "WxH" as the picture is shown: pixel shape and rotation applied
    std::string beginTime;   // trim start "hh:mm:ss", or empty
    std::string endTime;     // trim end "hh:mm:ss", or empty
    std::string filepath;    // the full path exactly as the dialog or the drop gave it
    std::string scan;        // how the pictures were taken, as the probe tells it; no column of its own
    std::string tracks = {}; // the sound and subtitle tracks counted, as the probe tells them; likewise

    // Set to be trimmed exactly when both trim fields are non-empty.
    bool IsTrimmed() const { return !beginTime.empty() && !endTime.empty(); }

    const std::string& Field(VideoColumn column) const;
    std::string& Field(VideoColumn column);
};

// The seven fields in column order, separated by " | ".
std::string RowDumpLine(const VideoRow& row);

// What changed, for a widget bound to the list. Rows are 1-based; first..last inclusive. Each change
// is announced twice: Before (the list still has its old rows, as item models want) and After.
struct VideoListChange
{
    enum class Kind
    {
        RowsInserted,
        RowsChanged,
        RowsRemoved,
        Reset, // every row removed at once
    };
    enum class Phase
    {
        Before,
        After,
    };
    Kind kind;
    Phase phase;
    std::int16_t first = 0;
    std::int16_t last = 0;
};

// The rows of the video list, window-free. Rows keep insertion order, duplicates are allowed, and
// indexes are 1-based 16-bit numbers, so the list holds at most 32767 rows. The widget layer keeps
// the selection here (SetSelected, SetCurrentRow) so the list operations work without widgets.
class VideoListModel
{
public:
    using Listener = Listeners<VideoListChange>::Listener;
    static constexpr std::int16_t kMaxRows = 32767;

    std::int16_t Count() const { return static_cast<std::int16_t>(m_rows.size()); }
    bool IsEmpty() const { return m_rows.empty(); }
    // nullptr outside 1..Count. The pointer is good until the list next changes.
    const VideoRow* Row(std::int16_t index) const;
    const std::vector<VideoRow>& Rows() const { return m_rows; }

    // Appends at the end; returns the new row's index, or 0 (nothing added) when the list is full.
    std::int16_t Append(VideoRow row);
    // Replaces a whole row in one change; false for an index outside the list.
    bool SetRow(std::int16_t index, VideoRow row);
    // Writes both trim fields in one change; empty texts mean "convert whole".
    bool SetTrimTimes(std::int16_t index, std::string beginTime, std::string endTime);

    bool RemoveRow(std::int16_t index);
    // Every selected row, walking from the last row backwards so the indexes still to be visited
    // stay valid. Nothing selected: nothing happens.
    void RemoveSelectedListItems();
    // Every row at once, without asking (the question belongs to ClearListItems).
    void Clear();

    // Selection as the widget shows it. Several rows may be selected; the current row is the one
    // that holds the focus (0 for none) and is what single-file operations act on.
    void SetSelected(std::int16_t index, bool selected);
    bool IsSelected(std::int16_t index) const;
    void SelectOnly(const std::vector<std::int16_t>& indexes);
    std::int16_t SelectedCount() const;
    void SetCurrentRow(std::int16_t index);
    std::int16_t CurrentRow() const { return m_current; }

    // Returns an id for RemoveListener.
    int AddListener(Listener listener) { return m_listeners.Add(std::move(listener)); }
    void RemoveListener(int id) { m_listeners.Remove(id); }

private:
    bool IsValid(std::int16_t index) const { return index >= 1 && index <= Count(); }
    void Notify(VideoListChange::Kind kind, VideoListChange::Phase phase, std::int16_t first,
                std::int16_t last) const;
    void NotifyChanged(std::int16_t index) const;

    std::vector<VideoRow> m_rows;
    std::vector<bool> m_selected;
    std::int16_t m_current = 0;
    Listeners<VideoListChange> m_listeners;
};

} // namespace zantrove
