// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"
#include "platform/RegularFile.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TestHome.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace zantrove {
namespace {
namespace fs = std::filesystem;

TEST(FileSystemTest, ExistenceAndFolderCreation)
{
    const std::string base = test::MakeTempFolder();
    const std::string file = base + "/file";
    test::WriteTextFile(file, "x");
    for (const auto& [path, isFile, isFolder] : {std::tuple{file, true, false},
                                                 {base, false, true},
                                                 {base + "/missing", false, false},
                                                 {"", false, false}}) {
        EXPECT_EQ(FileExists(path), isFile) << path;
        EXPECT_EQ(FolderExists(path), isFolder) << path;
    }
    // An absolute path is not made below the working folder, a relative one is; a trailing or
    // doubled separator makes no level of its own; a level that is a file stops the path.
    const std::string elsewhere = test::MakeTempFolder("cwd");
    {
        const test::ScopedCurrentFolder inside(elsewhere);
        CreateFolderPath(base + "/A/B/C/");
        CreateFolderPath("rel//deeper");
        CreateFolderPath(file + "/sub");
    }
    EXPECT_TRUE(FolderExists(base + "/A/B/C"));
    EXPECT_TRUE(FolderExists(elsewhere + "/rel/deeper"));
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere), {}), 1);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FolderExists(file + "/sub"));
}

// A copy that cannot be made whole leaves the target as it was, and no temporary file behind; a whole
// copy runs and keeps the source's time, so the next refresh leaves it alone.
TEST(FileCopyTest, AShortOrFailedCopyChangesNothingAndAWholeOneIsNotMadeAgain)
{
    const std::string folder = test::MakeTempFolder("copy");
    const std::string source = folder + "/source", target = folder + "/target";
    test::WriteTextFile(source, std::string(200000, 's'));
    test::WriteTextFile(target, "old");
    fs::create_directory(folder + "/folder");
    // The disk fills up part way: no file of this process may grow beyond a few kilobytes.
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const rlimit full{4096, old.rlim_max};
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &full);
    const bool copied = RefreshCopy(source, target).has_value();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_FALSE(copied);
    for (const std::string& to : {folder + "/missing/target", folder + "/folder"})
        EXPECT_FALSE(RefreshCopy(source, to)) << to;
    EXPECT_EQ(test::ReadTextFile(target), "old");
    EXPECT_TRUE(fs::is_empty(folder + "/folder"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 3) << "a temporary file was left";
    // Without a source the target is what there is.
    EXPECT_TRUE(RefreshCopy(folder + "/none", target));
    EXPECT_FALSE(RefreshCopy(folder + "/none", folder + "/none too"));
    EXPECT_EQ(test::ReadTextFile(target), "old");

    ASSERT_TRUE(RefreshCopy(source, target));
    EXPECT_EQ(test::ReadTextFile(target), test::ReadTextFile(source));
    EXPECT_TRUE(IsExecutableFile(target));
    struct stat first
    {
    }, second{};
    ASSERT_EQ(::stat(target.c_str(), &first), 0);
    ASSERT_TRUE(RefreshCopy(source, target));
    ASSERT_EQ(::stat(target.c_str(), &second), 0);
    EXPECT_EQ(second.st_ino, first.st_ino);
}

// Only a regular file opens, without waiting on a FIFO; the open file is read whole, also through
// its path after the name is gone.
TEST(RegularFileTest, OnlyARegularFileOpensAndIsReadWhole)
{
    const std::string folder = test::MakeTempFolder("regular");
    ASSERT_EQ(::mkfifo((folder + "/fifo").c_str(), 0600), 0);
    for (const auto& [path, error] : {std::pair{folder + "/missing", ENOENT},
                                      {folder, EINVAL},
                                      {folder + "/fifo", EINVAL},
                                      {std::string("/dev/null"), EINVAL}}) {
        const auto opened = RegularFile::Open(path);
        ASSERT_FALSE(opened) << path;
        EXPECT_EQ(opened.error(), error) << path;
    }
    const std::string content(300000, 'r'), file = folder + "/file";
    test::WriteTextFile(file, content);
    auto opened = RegularFile::Open(file);
    ASSERT_TRUE(opened);
    fs::remove(file);
    const std::string path = opened->OpenPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(test::ReadTextFile(path), content);
    EXPECT_EQ(opened->ReadAll(), content);
}

} // namespace
} // namespace zantrove
