// SPDX-License-Identifier: GPL-3.0-or-later
#include "trim/TrimDialogModel.h"

#include "media/VideoListModel.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

const std::string kNotNumeric = "Invalid Start or End Time!\r\nReason: You can only enter numeric values.";
const std::string kPastTheMinute =
    "Invalid Start or End Time!\r\nReason: Minutes and seconds cannot exceed 59.";
const std::string kStartAfterEnd =
    "The start time you've entered is not valid.\r\nReason: The Start Time cannot exceed the End Time.";
const std::string kEndAfterTotal =
    "The End Time you've entered is not valid.\r\nReason: The End Time cannot exceed "
    "the Total Duration of: 01:29:32";

VideoListModel OneRow(const std::string& duration = "01:29:32")
{
    VideoListModel list;
    VideoRow row;
    row.filename = "clip";
    row.duration = duration;
    row.filepath = "/v/clip.mp4";
    list.Append(row);
    list.SetCurrentRow(1);
    list.SetSelected(1, true);
    return list;
}

TEST(TrimOpening, NeedsACurrentRowAndAtMostOneSelected)
{
    VideoListModel list;
    auto message = CheckTrimSelection(list);
    ASSERT_FALSE(message);
    EXPECT_EQ(message.error().text, "Please, select a video file you would like to trim first.");
    EXPECT_EQ(message.error().icon, MessageIcon::Exclamation);

    list = OneRow();
    EXPECT_TRUE(CheckTrimSelection(list));

    list.Append(VideoRow{});
    list.SelectOnly({1, 2});
    message = CheckTrimSelection(list);
    ASSERT_FALSE(message);
    EXPECT_EQ(message.error().text, "You cannot trim multiple video files at once.\r\n"
                                    "Please, make sure that you have selected only 1 video file.");
}

TEST(TrimLoading, AFreshRowStartsAtZeroAndEndsAtItsDuration)
{
    const VideoListModel list = OneRow();
    const TrimDialogState state = LoadTrimDialog(*list.Row(1));
    EXPECT_FALSE(state.isTrimmed);
    EXPECT_EQ(state.entries.start, (TimeParts{"00", "00", "00"}));
    EXPECT_EQ(state.entries.end, (TimeParts{"01", "29", "32"}));
    EXPECT_EQ(state.total, (TimeParts{"01", "29", "32"}));
    EXPECT_EQ(state.totalDurationSeconds, 5372);
    EXPECT_EQ(state.statusText, "The selected video file is currently NOT set to be trimmed.");
    EXPECT_EQ(state.statusColour, (RgbColour{255, 128, 128}));
}

TEST(TrimLoading, ALongDurationKeepsAllItsHourDigits)
{
    const VideoListModel list = OneRow("100:00:00");
    const TrimDialogState state = LoadTrimDialog(*list.Row(1));
    EXPECT_EQ(state.total, (TimeParts{"100", "00", "00"}));
    EXPECT_EQ(state.totalDurationSeconds, 360000);
}

struct ValidationCase
{
    const char* what;
    TrimEntries entries;
    std::string message; // empty: accepted
    const char* begin = "";
    const char* end = "";
};

// Readable test names in CTest.
void PrintTo(const ValidationCase& c, std::ostream* os)
{
    *os << c.what;
}

class TrimValidationTable : public ::testing::TestWithParam<ValidationCase>
{
};

TEST_P(TrimValidationTable, RefusesOrStoresTwoDigitTimes)
{
    const ValidationCase& c = GetParam();
    VideoListModel list = OneRow();
    const auto message = SetTrimTimes(list, 1, c.entries);
    const VideoRow& row = *list.Row(1);
    if (c.message.empty()) {
        EXPECT_TRUE(message) << c.what;
        EXPECT_EQ(row.beginTime, c.begin) << c.what;
        EXPECT_EQ(row.endTime, c.end) << c.what;
        EXPECT_TRUE(row.IsTrimmed()) << c.what;
    } else {
        ASSERT_FALSE(message) << c.what;
        EXPECT_EQ(message.error().text, c.message) << c.what;
        EXPECT_EQ(message.error().icon, MessageIcon::Exclamation);
        EXPECT_EQ(row.beginTime, "") << c.what << ": a refusal changes nothing";
        EXPECT_EQ(row.endTime, "") << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TrimValidationTable,
    ::testing::Values(
        ValidationCase{
            "start equal to end", {{"00", "10", "00"}, {"00", "10", "00"}}, "", "00:10:00", "00:10:00"},
        ValidationCase{"end equal to the duration",
                       {{"00", "00", "00"}, {"01", "29", "32"}},
                       "",
                       "00:00:00",
                       "01:29:32"},
        ValidationCase{"start after end", {{"00", "10", "01"}, {"00", "10", "00"}}, kStartAfterEnd},
        ValidationCase{"end after the duration", {{"00", "00", "00"}, {"01", "29", "33"}}, kEndAfterTotal},
        ValidationCase{"a letter", {{"00", "0a", "00"}, {"00", "10", "00"}}, kNotNumeric},
        ValidationCase{"an empty box", {{"00", "00", "00"}, {"", "10", "00"}}, kNotNumeric},
        ValidationCase{"60 seconds", {{"00", "00", "60"}, {"00", "10", "00"}}, kPastTheMinute},
        ValidationCase{"60 minutes", {{"00", "00", "00"}, {"00", "60", "00"}}, kPastTheMinute},
        ValidationCase{"a negative value", {{"00", "-1", "00"}, {"00", "10", "00"}}, kNotNumeric},
        ValidationCase{"a fraction", {{"00", "1.5", "00"}, {"00", "10", "00"}}, kNotNumeric},
        ValidationCase{
            "single digits stored as two", {{"0", "5", "7"}, {"1", " 2 ", "3"}}, "", "00:05:07", "01:02:03"}),
    [](const auto& row) { return test::CaseName(row.param.what); });

TEST(TrimValidationOrder, NumbersAreCheckedBeforeTheOrderOfTimes)
{
    const TrimValidation v = ValidateTrimEntries({{"x", "00", "00"}, {"00", "00", "00"}}, 10);
    ASSERT_TRUE(v.message.has_value());
    EXPECT_EQ(v.message->text, kNotNumeric);
}

TEST(TrimValidationOrder, NoWrapAtTwentyFourHours)
{
    const TrimValidation v = ValidateTrimEntries({{"23", "59", "59"}, {"25", "00", "00"}}, 360000);
    EXPECT_FALSE(v.message.has_value());
    EXPECT_EQ(v.endTime, "25:00:00");
}

TEST(TrimReopening, ATrimmedRowShowsItsTimesAndDoNotTrimResetsIt)
{
    VideoListModel list = OneRow();
    ASSERT_TRUE(SetTrimTimes(list, 1, {{"0", "5", "0"}, {"1", "0", "0"}}));

    TrimDialogState state = LoadTrimDialog(*list.Row(1));
    EXPECT_TRUE(state.isTrimmed);
    EXPECT_EQ(state.entries.start, (TimeParts{"00", "05", "00"}));
    EXPECT_EQ(state.entries.end, (TimeParts{"01", "00", "00"}));
    EXPECT_EQ(state.statusText, "The selected video file is currently set to be trimmed.");
    EXPECT_EQ(state.statusColour, (RgbColour{128, 255, 128}));

    DoNotTrim(list, 1);
    EXPECT_EQ(list.Row(1)->beginTime, "");
    EXPECT_EQ(list.Row(1)->endTime, "");
    state = LoadTrimDialog(*list.Row(1));
    EXPECT_FALSE(state.isTrimmed);
    EXPECT_EQ(state.entries.start, (TimeParts{"00", "00", "00"}));
    EXPECT_EQ(state.entries.end, (TimeParts{"01", "29", "32"}));
}

TEST(TrimTimeText, SplitsAtColons)
{
    EXPECT_EQ(SplitTimeText("01:02:03"), (TimeParts{"01", "02", "03"}));
    EXPECT_EQ(SplitTimeText("123:4:5"), (TimeParts{"123", "4", "5"}));
    EXPECT_EQ(SplitTimeText("0102"), (TimeParts{"0102", "", ""}));
    EXPECT_EQ(SplitTimeText(""), (TimeParts{"", "", ""}));
    EXPECT_EQ(DurationTextSeconds("garbage"), 0);
    EXPECT_EQ(DurationTextSeconds("00:01:05"), 65);
}

} // namespace
} // namespace zantrove
