// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ListOperations.h"

#include "media/VideoListModel.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

VideoListModel ThreeRows()
{
    VideoListModel list;
    for (const char* path : {"/v/a.mp4", "/v/b.mp4", "/v/c.mp4"}) {
        VideoRow row;
        row.filepath = path;
        list.Append(row);
    }
    return list;
}

TEST(ClearList, AsksEvenWhenEmptyAndNoKeepsEveryRow)
{
    VideoListModel empty;
    int asked = 0;
    ClearListItems(empty, [&](const UserMessage& question) {
        ++asked;
        EXPECT_EQ(question.text, "Are you sure you would like to clear your list?");
        EXPECT_EQ(question.icon, MessageIcon::Question);
        EXPECT_EQ(question.title, "Zantrove");
        return false;
    });
    EXPECT_EQ(asked, 1);

    VideoListModel list = ThreeRows();
    ClearListItems(list, [](const UserMessage&) { return false; });
    EXPECT_EQ(list.Count(), 3);
    ClearListItems(list, [](const UserMessage&) { return true; });
    EXPECT_EQ(list.Count(), 0);
}

TEST(OpenVideoFile, WithoutCurrentRowTellsToSelectAndOpensNothing)
{
    VideoListModel list;
    bool opened = false;
    const auto message = OpenSelectedVideoFile(list, [&](const std::string&) { return opened = true; });
    ASSERT_FALSE(message);
    EXPECT_EQ(message.error().text, "Please, select a file first!");
    EXPECT_EQ(message.error().icon, MessageIcon::Information);
    EXPECT_FALSE(opened);
}

TEST(OpenVideoFile, OpensOnlyTheCurrentRowAndReportsNoFailure)
{
    VideoListModel list = ThreeRows();
    list.SelectOnly({1, 2, 3});
    list.SetCurrentRow(2);
    std::vector<std::string> opened;
    const auto message = OpenSelectedVideoFile(list, [&](const std::string& path) {
        opened.push_back(path);
        return false;
    });
    EXPECT_TRUE(message);
    EXPECT_EQ(opened, std::vector<std::string>{"/v/b.mp4"});
}

TEST(FileProperties, MessagesForNoSelectionAndForAFailedRequest)
{
    VideoListModel list = ThreeRows();
    auto message = ShowSelectedFileProperties(list, [](const std::string&) { return true; });
    ASSERT_FALSE(message);
    EXPECT_EQ(message.error().text, "Please, select a video file first.");
    EXPECT_EQ(message.error().icon, MessageIcon::Exclamation);

    list.SetCurrentRow(3);
    std::string shown;
    message = ShowSelectedFileProperties(list, [&](const std::string& path) {
        shown = path;
        return false;
    });
    ASSERT_FALSE(message);
    EXPECT_EQ(message.error().text, "Error while trying to view file properties!");
    EXPECT_EQ(message.error().icon, MessageIcon::Critical);
    EXPECT_EQ(shown, "/v/c.mp4");

    EXPECT_TRUE(ShowSelectedFileProperties(list, [](const std::string&) { return true; }));
}

} // namespace
} // namespace zantrove
