// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TimeText.h"
#include "platform/FileSystem.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestHome.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zantrove {
namespace {

struct SecondsCase
{
    std::int32_t seconds;
    const char* text;
};

class FormatSecondsTest : public ::testing::TestWithParam<SecondsCase>
{
};

TEST_P(FormatSecondsTest, Formats)
{
    EXPECT_EQ(FormatSeconds(GetParam().seconds), GetParam().text);
}

TEST(ParseClockTimeTest, ReadsWhatFormatSecondsWrites)
{
    for (std::int32_t seconds : {0, 59, 3723, 36000, 360000})
        EXPECT_EQ(ParseClockTime(FormatSeconds(seconds)), seconds);
    EXPECT_EQ(ParseClockTime("1:2:3"), 3723);
    for (const char* bad : {"", "00:00", "aa:00:00", "00:-1:00", "00:00:00:00", "00::00"})
        EXPECT_FALSE(ParseClockTime(bad)) << bad;
}

INSTANTIATE_TEST_SUITE_P(Table, FormatSecondsTest,
                         ::testing::Values(SecondsCase{0, "00:00:00"}, SecondsCase{59, "00:00:59"},
                                           SecondsCase{60, "00:01:00"}, SecondsCase{3661, "01:01:01"},
                                           SecondsCase{86399, "23:59:59"}, SecondsCase{360000, "100:00:00"},
                                           SecondsCase{2147483647, "596523:14:07"}),
                         [](const auto& row) { return test::CaseName(row.param.text); });

TEST(ExistenceTest, FilesAndFolders)
{
    const std::string folder = test::MakeTempFolder();
    const std::string file = folder + "/a.txt";
    test::WriteTextFile(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_FALSE(FileExists(folder));
    EXPECT_FALSE(FileExists(folder + "/missing"));
    EXPECT_FALSE(FolderExists(folder + "/missing"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FolderExists(""));
}

TEST(CreateFolderPathTest, AbsolutePathWithTrailingSeparator)
{
    const std::string base = test::MakeTempFolder();
    ASSERT_EQ(base.front(), '/');
    CreateFolderPath(base + "/A/B/C/");
    EXPECT_TRUE(FolderExists(base + "/A/B"));
    EXPECT_TRUE(FolderExists(base + "/A/B/C"));
}

TEST(CreateFolderPathTest, AbsolutePathIsNotCreatedRelativeToTheWorkingFolder)
{
    const std::string base = test::MakeTempFolder();
    const std::string elsewhere = test::MakeTempFolder("cwd");
    ASSERT_EQ(::chdir(elsewhere.c_str()), 0);
    CreateFolderPath(base + "/X/Y");
    EXPECT_TRUE(FolderExists(base + "/X/Y"));
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}

TEST(CreateFolderPathTest, RelativePathAndDoubledSeparators)
{
    const std::string base = test::MakeTempFolder();
    ASSERT_EQ(::chdir(base.c_str()), 0);
    CreateFolderPath("rel//deeper");
    EXPECT_TRUE(FolderExists(base + "/rel/deeper"));
}

TEST(CreateFolderPathTest, LevelThatIsAFileIsSkipped)
{
    const std::string base = test::MakeTempFolder();
    test::WriteTextFile(base + "/file", "x");
    CreateFolderPath(base + "/file/sub");
    EXPECT_TRUE(FileExists(base + "/file"));
    EXPECT_FALSE(FolderExists(base + "/file/sub"));
}

} // namespace
} // namespace zantrove
