// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/UserMessage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zantrove {

class VideoListModel;
struct VideoRow;

// The trim dialog's captions.
inline constexpr std::string_view kTrimDialogTitle = "Trim Video File";
inline constexpr std::string_view kTrimDialogSubtitle = "Trim the selected video file...";
inline constexpr std::string_view kTrimDialogIntro =
    "Please, set the start and end time of the selected video file...";
inline constexpr std::string_view kTrimStartTimeLabel = "Start Time (hh:mm:ss)";
inline constexpr std::string_view kTrimEndTimeLabel = "End Time (hh:mm:ss)";
inline constexpr std::string_view kTrimTotalDurationLabel = "Total Duration:";
inline constexpr std::string_view kTrimNote = "Note: these settings will not affect your original file.";
inline constexpr std::string_view kTrimSetCaption = "&Set";
inline constexpr std::string_view kTrimDoNotTrimCaption = "&Do not trim";
inline constexpr std::string_view kTrimCloseCaption = "&Close";

struct RgbColour
{
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend bool operator==(const RgbColour&, const RgbColour&) = default;
};

inline constexpr std::string_view kTrimmedStatusText =
    "The selected video file is currently set to be trimmed.";
inline constexpr RgbColour kTrimmedStatusColour{128, 255, 128};
inline constexpr std::string_view kNotTrimmedStatusText =
    "The selected video file is currently NOT set to be trimmed.";
inline constexpr RgbColour kNotTrimmedStatusColour{255, 128, 128};

// The three parts of an "h:mm:ss" text, split at its colons (hours may have more than two digits);
// a missing part is empty.
struct TimeParts
{
    std::string hours;
    std::string minutes;
    std::string seconds;
    friend bool operator==(const TimeParts&, const TimeParts&) = default;
};
TimeParts SplitTimeText(std::string_view text);

// The six text boxes, as typed.
struct TrimEntries
{
    TimeParts start;
    TimeParts end;
    friend bool operator==(const TrimEntries&, const TrimEntries&) = default;
};

// What the dialog shows when it opens for a row.
struct TrimDialogState
{
    TrimEntries entries;
    TimeParts total;                   // the "Total Duration:" labels
    std::int64_t totalDurationSeconds; // the upper bound for the end time
    bool isTrimmed;
    std::string_view statusText;
    RgbColour statusColour;
};

// The opening checks on the list's selection: a message when there is no current row or when two
// or more rows are selected; nothing when the dialog may open for the current row.
Verdict CheckTrimSelection(const VideoListModel& list);

// A trimmed row shows its stored times; any other row starts at "00:00:00" and ends at its duration.
TrimDialogState LoadTrimDialog(const VideoRow& row);

// Whole seconds of a duration text; 0 when it is no "h:mm:ss" of whole numbers.
std::int64_t DurationTextSeconds(std::string_view text);

// The checks of "&Set", in order: numbers (whole, not negative), minutes and seconds below 60, start
// not after end, end not after the total duration. Times compare as whole seconds, with no wrap at
// 24 hours. On success the times are two digits each ("5" becomes "05").
struct TrimValidation
{
    std::optional<UserMessage> message; // set when refused
    std::string beginTime;
    std::string endTime;
};
TrimValidation ValidateTrimEntries(const TrimEntries& entries, std::int64_t totalDurationSeconds);

// "&Set": validates against the row's own duration and stores the times. Returns the message to show
// (the dialog stays open, the row is unchanged) or nothing (stored; close the dialog).
Verdict SetTrimTimes(VideoListModel& list, std::int16_t index, const TrimEntries& entries);

// "&Do not trim": both trim fields empty, so the row is converted whole.
void DoNotTrim(VideoListModel& list, std::int16_t index);

} // namespace zantrove
