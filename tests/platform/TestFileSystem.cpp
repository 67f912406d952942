// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileSystem.h"
#include "tests/support/TestHome.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zantrove {
namespace {

TEST(FileSystemTest, ExistenceAndFolderCreation)
{
    const std::string base = test::MakeTempFolder();
    const std::string file = base + "/file";
    test::WriteTextFile(file, "x");
    EXPECT_TRUE(FileExists(file) && !FolderExists(file) && FolderExists(base) && !FileExists(base));
    for (const std::string& missing : {base + "/missing", std::string()})
        EXPECT_FALSE(FileExists(missing) || FolderExists(missing)) << missing;
    // An absolute path is not made below the working folder, a relative one is; a trailing or
    // doubled separator makes no level of its own; a level that is a file stops the path.
    const std::string elsewhere = test::MakeTempFolder("cwd");
    ASSERT_EQ(::chdir(elsewhere.c_str()), 0);
    CreateFolderPath(base + "/A/B/C/");
    CreateFolderPath("rel//deeper");
    CreateFolderPath(file + "/sub");
    EXPECT_TRUE(FolderExists(base + "/A/B/C") && FolderExists(elsewhere + "/rel/deeper"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(elsewhere), {}), 1);
    EXPECT_TRUE(FileExists(file) && !FolderExists(file + "/sub"));
}

} // namespace
} // namespace zantrove
