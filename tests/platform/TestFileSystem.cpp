// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TimeText.h"
#include "platform/FileSystem.h"
#include "tests/support/TestHome.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zantrove {
namespace {

TEST(TimeTextTest, ClockTimesAreWrittenAndReadBack)
{
    const std::vector<std::pair<std::int32_t, const char*>> table{
        {0, "00:00:00"},    {59, "00:00:59"},      {60, "00:01:00"},
        {3661, "01:01:01"}, {360000, "100:00:00"}, {2147483647, "596523:14:07"}};
    for (const auto& [seconds, text] : table) {
        EXPECT_EQ(FormatSeconds(seconds), text);
        EXPECT_EQ(ParseClockTime(text), seconds);
    }
    EXPECT_EQ(ParseClockTime("1:2:3"), 3723);
    for (const char* bad : {"", "00:00", "aa:00:00", "00:-1:00", "00:00:00:00", "00::00"})
        EXPECT_FALSE(ParseClockTime(bad)) << bad;
}

TEST(FileSystemTest, ExistenceAndFolderCreation)
{
    const std::string base = test::MakeTempFolder();
    const std::string file = base + "/file";
    test::WriteTextFile(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_TRUE(FolderExists(base));
    EXPECT_FALSE(FileExists(base));
    for (const std::string& missing : {base + "/missing", std::string()}) {
        EXPECT_FALSE(FileExists(missing)) << missing;
        EXPECT_FALSE(FolderExists(missing)) << missing;
    }
    // An absolute path is not made below the working folder, a relative one is; a trailing or
    // doubled separator makes no level of its own; a level that is a file stops the path.
    const std::string elsewhere = test::MakeTempFolder("cwd");
    ASSERT_EQ(::chdir(elsewhere.c_str()), 0);
    CreateFolderPath(base + "/A/B/C/");
    CreateFolderPath("rel//deeper");
    CreateFolderPath(file + "/sub");
    EXPECT_TRUE(FolderExists(base + "/A/B/C"));
    EXPECT_TRUE(FolderExists(elsewhere + "/rel/deeper"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(elsewhere), {}), 1);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FolderExists(file + "/sub"));
}

} // namespace
} // namespace zantrove
