// SPDX-License-Identifier: GPL-3.0-or-later
// The list of videos and the operations on its selection.
#include "media/ListOperations.h"
#include "media/VideoListModel.h"

#include <gtest/gtest.h>
#include <optional>

namespace zantrove {
namespace {

VideoRow Named(std::string name)
{
    return {std::move(name), "", "", "", "", "", "", ""};
}

VideoListModel FiveRows()
{
    VideoListModel list;
    for (const char* name : {"r1", "r2", "r3", "r4", "r5"})
        list.Append(VideoRow{name, "", "", "", "", "", std::string("/v/") + name, ""});
    return list;
}

std::string Names(const VideoListModel& list)
{
    std::string names;
    for (const auto& row : list.Rows())
        names += row.filename + " ";
    return names;
}

TEST(VideoList, AppendKeepsOrderAllowsDuplicatesAndStopsAt32767Rows)
{
    VideoListModel list;
    for (std::int16_t index : {1, 2, 3})
        EXPECT_EQ(list.Append(Named(index == 2 ? "b" : "a")), index);
    EXPECT_EQ(Names(list), "a b a ");
    for (const std::int16_t outside : {0, 4, -1})
        EXPECT_EQ(list.Row(outside), nullptr) << outside;
    while (list.Count() < VideoListModel::kMaxRows)
        ASSERT_NE(list.Append(VideoRow{}), 0);
    EXPECT_EQ(list.Append(VideoRow{}), 0);
    EXPECT_EQ(list.Count(), 32767);
    EXPECT_NE(list.Row(32767), nullptr);
}

TEST(VideoList, TrimmedExactlyWhenBothTrimFieldsAreSetAndTheDumpHasSevenFields)
{
    const VideoRow row{"clip", "AVC", "00:00:02", "160x120", "", "00:00:01", "/v/clip.mp4", ""};
    EXPECT_EQ(RowDumpLine(row), "clip | AVC | 00:00:02 | 160x120 |  | 00:00:01 | /v/clip.mp4");
    EXPECT_FALSE(row.IsTrimmed());
    EXPECT_FALSE((VideoRow{"", "", "", "", "00:00:01", "", "", ""}.IsTrimmed()));
    EXPECT_TRUE((VideoRow{"", "", "", "", "00:00:01", "00:00:01", "", ""}.IsTrimmed()));
}

TEST(VideoList, RemovingFollowsTheSelectionAndTheCurrentRow)
{
    VideoListModel list = FiveRows();
    int notices = 0;
    list.AddListener([&](const VideoListChange&) { ++notices; });
    list.RemoveSelectedListItems(); // nothing selected: nothing changes
    EXPECT_EQ(notices, 0);
    list.SelectOnly({1, 3, 4});
    EXPECT_TRUE(list.IsSelected(3));
    EXPECT_FALSE(list.IsSelected(2));
    list.RemoveSelectedListItems();
    EXPECT_EQ(Names(list), "r2 r5 ");
    EXPECT_EQ(list.SelectedCount(), 0);

    list = FiveRows();
    list.SetCurrentRow(4);
    list.RemoveRow(2);
    EXPECT_EQ(list.Row(list.CurrentRow())->filename, "r4");
    list.RemoveRow(3);
    EXPECT_EQ(list.CurrentRow(), 0);
    list.SetCurrentRow(99);
    EXPECT_EQ(list.CurrentRow(), 0);
    EXPECT_FALSE(list.RemoveRow(4));
    EXPECT_FALSE(list.SetRow(4, Named("x")));
    EXPECT_FALSE(list.SetTrimTimes(0, "a", "b"));
    EXPECT_TRUE(list.SetRow(3, Named("other")));
    EXPECT_EQ(list.Row(3)->filename, "other");

    list.SelectOnly({2});
    list.SetCurrentRow(2);
    list.Clear();
    EXPECT_EQ(list.Count() + list.CurrentRow() + list.SelectedCount(), 0);
}

TEST(VideoList, EveryChangeIsAnnouncedBeforeAndAfter)
{
    VideoListModel list;
    std::vector<std::string> seen;
    // Before an insert the list still has its old count: what item models need.
    const int id = list.AddListener([&](const VideoListChange& change) {
        static const char* kinds[] = {"insert", "change", "remove", "reset"};
        seen.push_back(std::string(change.phase == VideoListChange::Phase::Before ? "before " : "after ") +
                       kinds[static_cast<int>(change.kind)] + " " + std::to_string(change.first) + "-" +
                       std::to_string(change.last) + " count " + std::to_string(list.Count()));
    });
    list.Append(Named("a"));
    list.Append(Named("b"));
    list.SetTrimTimes(2, "00:00:01", "00:00:02");
    list.SetRow(1, Named("A"));
    list.RemoveRow(1);
    list.Clear();
    list.RemoveListener(id);
    list.Append(Named("c"));
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "before insert 1-1 count 0", "after insert 1-1 count 1", "before insert 2-2 count 1",
                        "after insert 2-2 count 2", "before change 2-2 count 2", "after change 2-2 count 2",
                        "before change 1-1 count 2", "after change 1-1 count 2", "before remove 1-1 count 2",
                        "after remove 1-1 count 1", "before reset 1-1 count 1", "after reset 1-1 count 0"}));
}

TEST(ListOperations, ClearingAsksEvenWhenEmptyAndOpeningNeedsACurrentRowAndUsesOnlyIt)
{
    VideoListModel list;
    int asked = 0;
    const auto answer = [&asked](bool yes) {
        return [&asked, yes](const UserMessage& q) { return asked += q.icon == MessageIcon::Question, yes; };
    };
    ClearListItems(list, answer(false)); // an empty list still asks
    list = FiveRows();
    ClearListItems(list, answer(false));
    EXPECT_EQ(list.Count(), 5);
    ClearListItems(list, answer(true));
    EXPECT_EQ(list.Count() + asked, 3);
    list = FiveRows();
    std::vector<std::string> used;
    const auto use = [&](bool verdict) {
        return [&used, verdict](const std::string& path) { return used.push_back(path), verdict; };
    };
    const auto refusal = [](const auto& result) {
        return result ? std::nullopt : std::optional(result.error().icon);
    };
    EXPECT_EQ(refusal(OpenSelectedVideoFile(list, use(true))), MessageIcon::Information);
    EXPECT_EQ(refusal(ShowSelectedFileProperties(list, use(true))), MessageIcon::Exclamation);
    EXPECT_TRUE(used.empty());

    list.SelectOnly({1, 2, 3});
    list.SetCurrentRow(2);
    EXPECT_TRUE(OpenSelectedVideoFile(list, use(false))) << "a failed open is not reported";
    EXPECT_TRUE(ShowSelectedFileProperties(list, use(true)));
    EXPECT_EQ(refusal(ShowSelectedFileProperties(list, use(false))), MessageIcon::Critical);
    EXPECT_EQ(used, (std::vector<std::string>{"/v/r2", "/v/r2", "/v/r2"}));
}

} // namespace
} // namespace zantrove
