// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/VideoListModel.h"

#include <gtest/gtest.h>

#include <vector>

namespace zantrove {
namespace {

VideoRow RowFor(const std::string& path)
{
    VideoRow row;
    row.filename = path;
    row.filepath = "/v/" + path;
    return row;
}

VideoListModel FiveRows()
{
    VideoListModel list;
    for (const char* name : {"r1", "r2", "r3", "r4", "r5"})
        list.Append(RowFor(name));
    return list;
}

std::vector<std::string> Names(const VideoListModel& list)
{
    std::vector<std::string> names;
    for (const auto& row : list.Rows())
        names.push_back(row.filename);
    return names;
}

TEST(VideoListColumns, HeadersAndDesignWidthsInColumnOrder)
{
    const std::vector<std::pair<std::string, int>> expected{
        {"Filename", 2100}, {"Codec", 1440}, {"Duration", 1440}, {"Video Size", 1440},
        {"Begin Time", 0},  {"End Time", 0}, {"Filepath", 0}};
    ASSERT_EQ(kVideoColumns.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(kVideoColumns[i].column), i);
        EXPECT_EQ(kVideoColumns[i].header, expected[i].first);
        EXPECT_EQ(kVideoColumns[i].widthTwips, expected[i].second);
    }
    EXPECT_EQ(TwipsToPixels(2100), 140);
}

TEST(VideoListRows, AppendKeepsOrderAndAllowsDuplicates)
{
    VideoListModel list;
    EXPECT_EQ(list.Append(RowFor("a")), 1);
    EXPECT_EQ(list.Append(RowFor("b")), 2);
    EXPECT_EQ(list.Append(RowFor("a")), 3);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "b", "a"}));
    EXPECT_EQ(list.Row(1)->filepath, list.Row(3)->filepath);
    EXPECT_EQ(list.Row(0), nullptr);
    EXPECT_EQ(list.Row(4), nullptr);
    EXPECT_EQ(list.Row(-1), nullptr);
}

TEST(VideoListRows, TrimmedExactlyWhenBothTrimFieldsAreSet)
{
    VideoRow row;
    EXPECT_FALSE(row.IsTrimmed()) << "a new row is not trimmed";
    row.beginTime = "00:00:01";
    EXPECT_FALSE(row.IsTrimmed());
    row.endTime = "00:00:05";
    EXPECT_TRUE(row.IsTrimmed());
    row.beginTime.clear();
    EXPECT_FALSE(row.IsTrimmed());
}

TEST(VideoListRows, DumpLineHasTheSevenFieldsInColumnOrder)
{
    VideoRow row{"clip", "AVC", "00:00:02", "160x120", "", "00:00:01", "/v/clip.mp4"};
    EXPECT_EQ(RowDumpLine(row), "clip | AVC | 00:00:02 | 160x120 |  | 00:00:01 | /v/clip.mp4");
}

TEST(VideoListRows, HoldsAtMost32767Rows)
{
    VideoListModel list;
    for (int i = 0; i < VideoListModel::kMaxRows; ++i)
        ASSERT_NE(list.Append(VideoRow{}), 0);
    EXPECT_EQ(list.Count(), 32767);
    EXPECT_EQ(list.Append(VideoRow{}), 0);
    EXPECT_EQ(list.Count(), 32767);
    EXPECT_NE(list.Row(32767), nullptr);
}

TEST(VideoListRemoval, SelectedRowsOneThreeAndFourOfFiveLeaveTwoAndFive)
{
    VideoListModel list = FiveRows();
    list.SelectOnly({1, 3, 4});
    list.RemoveSelectedListItems();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"r2", "r5"}));
    EXPECT_EQ(list.SelectedCount(), 0);
}

TEST(VideoListRemoval, NothingSelectedChangesNothing)
{
    VideoListModel list = FiveRows();
    int notices = 0;
    list.AddListener([&](const VideoListChange&) { ++notices; });
    list.RemoveSelectedListItems();
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(notices, 0);
}

TEST(VideoListRemoval, CurrentRowFollowsItsRowOrBecomesNone)
{
    VideoListModel list = FiveRows();
    list.SetCurrentRow(4);
    list.RemoveRow(2);
    EXPECT_EQ(list.CurrentRow(), 3);
    EXPECT_EQ(list.Row(list.CurrentRow())->filename, "r4");
    list.RemoveRow(3);
    EXPECT_EQ(list.CurrentRow(), 0);
    list.SetCurrentRow(99);
    EXPECT_EQ(list.CurrentRow(), 0);
}

TEST(VideoListRemoval, ClearRemovesEverything)
{
    VideoListModel list = FiveRows();
    list.SelectOnly({2});
    list.SetCurrentRow(2);
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.CurrentRow(), 0);
    EXPECT_EQ(list.SelectedCount(), 0);
}

TEST(VideoListNotices, EveryChangeIsAnnouncedBeforeAndAfter)
{
    VideoListModel list;
    std::vector<std::string> seen;
    const auto name = [](const VideoListChange& change) {
        static const char* kinds[] = {"insert", "change", "remove", "reset"};
        return std::string(change.phase == VideoListChange::Phase::Before ? "before " : "after ") +
               kinds[static_cast<int>(change.kind)] + " " + std::to_string(change.first) + "-" +
               std::to_string(change.last);
    };
    // Before an insert the list still has its old count: what item models need.
    const int id = list.AddListener([&](const VideoListChange& change) {
        seen.push_back(name(change) + " count " + std::to_string(list.Count()));
    });
    list.Append(RowFor("a"));
    list.Append(RowFor("b"));
    list.SetTrimTimes(2, "00:00:01", "00:00:02");
    list.SetField(1, VideoColumn::Codec, "AVC");
    list.RemoveRow(1);
    list.Clear();
    const std::vector<std::string> expected{
        "before insert 1-1 count 0", "after insert 1-1 count 1",  "before insert 2-2 count 1",
        "after insert 2-2 count 2",  "before change 2-2 count 2", "after change 2-2 count 2",
        "before change 1-1 count 2", "after change 1-1 count 2",  "before remove 1-1 count 2",
        "after remove 1-1 count 1",  "before reset 1-1 count 1",  "after reset 1-1 count 0"};
    EXPECT_EQ(seen, expected);

    list.RemoveListener(id);
    list.Append(RowFor("c"));
    EXPECT_EQ(seen.size(), expected.size());
}

TEST(VideoListFields, SettersRefuseRowsOutsideTheList)
{
    VideoListModel list = FiveRows();
    EXPECT_FALSE(list.SetField(6, VideoColumn::Codec, "x"));
    EXPECT_FALSE(list.SetTrimTimes(0, "a", "b"));
    EXPECT_FALSE(list.RemoveRow(6));
    EXPECT_TRUE(list.SetField(5, VideoColumn::Filepath, "/other"));
    EXPECT_EQ(list.Row(5)->filepath, "/other");
}

} // namespace
} // namespace zantrove
