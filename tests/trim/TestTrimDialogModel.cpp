// SPDX-License-Identifier: GPL-3.0-or-later
#include "trim/TrimDialogModel.h"

#include "media/VideoListModel.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

VideoListModel OneRow(const std::string& duration)
{
    VideoListModel list;
    list.Append(VideoRow{"clip", "", duration, "", "", "", "/v/clip.mp4", ""});
    list.SetCurrentRow(1);
    list.SetSelected(1, true);
    return list;
}

std::string Clock(const TimeParts& parts)
{
    return parts.hours + ":" + parts.minutes + ":" + parts.seconds;
}

TEST(TrimDialog, OpensOnACurrentRowWithAtMostOneSelected)
{
    EXPECT_FALSE(CheckTrimSelection(VideoListModel()));
    VideoListModel list = OneRow("00:00:10");
    EXPECT_TRUE(CheckTrimSelection(list));
    list.Append(VideoRow{});
    list.SelectOnly({1, 2});
    const auto message = CheckTrimSelection(list);
    ASSERT_FALSE(message);
    EXPECT_NE(message.error().text.find("multiple"), std::string::npos) << message.error().text;
}

TEST(TrimDialog, AFreshRowRunsFromZeroToItsDurationAndATrimmedOneShowsItsTimesUntilReset)
{
    VideoListModel list = OneRow("100:00:00");
    TrimDialogState state = LoadTrimDialog(*list.Row(1));
    EXPECT_FALSE(state.isTrimmed);
    EXPECT_EQ(Clock(state.entries.start) + " " + Clock(state.entries.end), "00:00:00 100:00:00");
    EXPECT_EQ(state.totalDurationSeconds, 360000); // a duration of 100 hours and more
    EXPECT_EQ(Clock(SplitTimeText("123:4:5")) + " " + Clock(SplitTimeText("0102")) + " " +
                  Clock(SplitTimeText("")) + " " + std::to_string(DurationTextSeconds("garbage")),
              "123:4:5 0102:: :: 0");
    const RgbColour notTrimmed = state.statusColour;

    ASSERT_TRUE(SetTrimTimes(list, 1, {{"0", "5", "0"}, {"1", "0", "0"}}));
    state = LoadTrimDialog(*list.Row(1));
    EXPECT_TRUE(state.isTrimmed);
    EXPECT_EQ(Clock(state.entries.start) + " " + Clock(state.entries.end), "00:05:00 01:00:00");
    EXPECT_NE(state.statusColour, notTrimmed);

    DoNotTrim(list, 1);
    state = LoadTrimDialog(*list.Row(1));
    EXPECT_FALSE(list.Row(1)->IsTrimmed());
    EXPECT_FALSE(state.isTrimmed);
    EXPECT_EQ(Clock(state.entries.end), "100:00:00");
}

TEST(TrimDialog, RefusesOrStoresTimesInTwoDigits)
{
    const struct
    {
        TrimEntries entries;
        std::string result; // stored "begin-end", or what the refusal names
    } table[] = {{{{"00", "10", "00"}, {"00", "10", "00"}}, "the End Time are the same"},
                 {{{"00", "09", "59"}, {"00", "10", "00"}}, "00:09:59-00:10:00"},
                 {{{"00", "00", "00"}, {"30", "00", "00"}}, "00:00:00-30:00:00"},
                 {{{"0", "5", "7"}, {"1", " 2 ", "3"}}, "00:05:07-01:02:03"},
                 {{{"23", "59", "59"}, {"25", "00", "00"}}, "23:59:59-25:00:00"}, // no wrap at a day
                 {{{"00", "10", "01"}, {"00", "10", "00"}}, "The Start Time cannot exceed the End Time"},
                 {{{"00", "00", "00"}, {"30", "00", "01"}}, "Total Duration of: 30:00:00"},
                 {{{"00", "0a", "00"}, {"00", "10", "00"}}, "numeric"},
                 {{{"00", "00", "00"}, {"", "10", "00"}}, "numeric"},
                 {{{"00", "00", "60"}, {"00", "10", "00"}}, "cannot exceed 59"},
                 {{{"00", "00", "00"}, {"00", "60", "00"}}, "cannot exceed 59"},
                 {{{"00", "-1", "00"}, {"00", "10", "00"}}, "numeric"},
                 {{{"x", "00", "00"}, {"00", "00", "00"}}, "numeric"}}; // numbers before order
    for (const auto& row : table) {
        SCOPED_TRACE(Clock(row.entries.start) + "-" + Clock(row.entries.end));
        VideoListModel list = OneRow("30:00:00");
        const auto message = SetTrimTimes(list, 1, row.entries);
        const VideoRow& stored = *list.Row(1);
        if (message) {
            EXPECT_EQ(stored.beginTime + "-" + stored.endTime, row.result);
        } else {
            EXPECT_NE(message.error().text.find(row.result), std::string::npos) << message.error().text;
            EXPECT_EQ(message.error().icon, MessageIcon::Exclamation);
            EXPECT_FALSE(stored.IsTrimmed()) << "a refusal changes nothing";
        }
    }
}

} // namespace
} // namespace zantrove
