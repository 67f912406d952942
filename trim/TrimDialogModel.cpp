// SPDX-License-Identifier: GPL-3.0-or-later
#include "trim/TrimDialogModel.h"

#include "base/TextUtilities.h"
#include "base/TimeText.h"
#include "media/VideoListModel.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdint>

namespace zantrove {

namespace {

UserMessage Refusal(std::string text)
{
    return {MessageIcon::Exclamation, std::move(text)};
}

UserMessage NotNumericMessage()
{
    return Refusal(std::string("Invalid Start or End Time!") + kCrLf +
                   "Reason: You can only enter numeric values.");
}

// A box's whole, non-negative number; surrounding blanks are allowed.
std::optional<std::int32_t> ReadEntry(const std::string& text)
{
    const auto trimmed = TrimBlanks(text);
    if (trimmed.empty() || trimmed.front() == '-' || trimmed.front() == '+')
        return std::nullopt;
    return ParseInt32(trimmed);
}

struct Clock
{
    std::int32_t hours;
    std::int32_t minutes;
    std::int32_t seconds;

    std::int64_t TotalSeconds() const
    {
        return std::int64_t{hours} * 3600 + std::int64_t{minutes} * 60 + seconds;
    }
    bool IsOnTheClockFace() const { return minutes < 60 && seconds < 60; }
};

std::optional<Clock> ReadClock(const TimeParts& parts)
{
    const auto hours = ReadEntry(parts.hours);
    const auto minutes = ReadEntry(parts.minutes);
    const auto seconds = ReadEntry(parts.seconds);
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    return Clock{*hours, *minutes, *seconds};
}

// Stored two digits each, so readers that take fixed character positions find every part.
std::string StoredTime(const Clock& clock)
{
    return TwoDigits(clock.hours) + ":" + TwoDigits(clock.minutes) + ":" + TwoDigits(clock.seconds);
}

} // namespace

TimeParts SplitTimeText(std::string_view text)
{
    TimeParts parts;
    const auto first = text.find(':');
    parts.hours = std::string(text.substr(0, first));
    if (first == std::string_view::npos)
        return parts;
    const auto second = text.find(':', first + 1);
    parts.minutes = std::string(text.substr(
        first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1));
    if (second != std::string_view::npos)
        parts.seconds = std::string(text.substr(second + 1));
    return parts;
}

Verdict CheckTrimSelection(const VideoListModel& list)
{
    if (list.Row(list.CurrentRow()) == nullptr)
        return Unexpected{Refusal("Please, select a video file you would like to trim first.")};
    if (list.SelectedCount() >= 2)
        return Unexpected{Refusal(std::string("You cannot trim multiple video files at once.") + kCrLf +
                                  "Please, make sure that you have selected only 1 video file.")};
    return {};
}

std::int64_t DurationTextSeconds(std::string_view text)
{
    const auto clock = ReadClock(SplitTimeText(text));
    return clock && clock->IsOnTheClockFace() ? clock->TotalSeconds() : 0;
}

TrimDialogState LoadTrimDialog(const VideoRow& row)
{
    TrimDialogState state;
    state.total = SplitTimeText(row.duration);
    state.totalDurationSeconds = DurationTextSeconds(row.duration);
    state.isTrimmed = row.IsTrimmed();
    if (state.isTrimmed) {
        state.entries.start = SplitTimeText(row.beginTime);
        state.entries.end = SplitTimeText(row.endTime);
        state.statusText = kTrimmedStatusText;
        state.statusColour = kTrimmedStatusColour;
    } else {
        state.entries.start = {"00", "00", "00"};
        state.entries.end = state.total;
        state.statusText = kNotTrimmedStatusText;
        state.statusColour = kNotTrimmedStatusColour;
    }
    return state;
}

TrimValidation ValidateTrimEntries(const TrimEntries& entries, std::int64_t totalDurationSeconds)
{
    TrimValidation result;
    const auto start = ReadClock(entries.start);
    const auto end = ReadClock(entries.end);
    if (!start || !end) {
        result.message = NotNumericMessage();
        return result;
    }
    if (!start->IsOnTheClockFace() || !end->IsOnTheClockFace()) {
        result.message = Refusal(std::string("Invalid Start or End Time!") + kCrLf +
                                 "Reason: Minutes and seconds cannot exceed 59.");
        return result;
    }
    if (start->TotalSeconds() > end->TotalSeconds()) {
        result.message = Refusal(std::string("The start time you've entered is not valid.") + kCrLf +
                                 "Reason: The Start Time cannot exceed the End Time.");
        return result;
    }
    // Nothing would be left to convert, and the encoder would only say there is no picture.
    if (start->TotalSeconds() == end->TotalSeconds()) {
        result.message = Refusal(std::string("The start time you've entered is not valid.") + kCrLf +
                                 "Reason: The Start Time and the End Time are the same; nothing would be "
                                 "left to convert.");
        return result;
    }
    if (end->TotalSeconds() > totalDurationSeconds) {
        const auto total = static_cast<std::int32_t>(std::min<std::int64_t>(totalDurationSeconds, INT32_MAX));
        result.message =
            Refusal(std::string("The End Time you've entered is not valid.") + kCrLf +
                    "Reason: The End Time cannot exceed the Total Duration of: " + FormatSeconds(total));
        return result;
    }
    result.beginTime = StoredTime(*start);
    result.endTime = StoredTime(*end);
    return result;
}

Verdict SetTrimTimes(VideoListModel& list, std::int16_t index, const TrimEntries& entries)
{
    const VideoRow* row = list.Row(index);
    if (row == nullptr)
        return {}; // the row went away: nothing to store, nothing to tell
    TrimValidation validation = ValidateTrimEntries(entries, DurationTextSeconds(row->duration));
    if (validation.message)
        return Unexpected{*validation.message};
    list.SetTrimTimes(index, std::move(validation.beginTime), std::move(validation.endTime));
    return {};
}

void DoNotTrim(VideoListModel& list, std::int16_t index)
{
    list.SetTrimTimes(index, "", "");
}

} // namespace zantrove
