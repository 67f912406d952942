// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/TestHome.h"
#include "tests/tools/ToolProcess.h"
#include "tools/library/PlaylistFile.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace zantrove {
namespace {

const std::string kHelper = ZANTROVE_APP_DIR "/Components/AddiTunes.exe";

std::string Home()
{
    return std::getenv("HOME");
}

// Points xdg-user-dir at a videos folder inside the test home.
std::string ConfigureVideosFolder(const std::string& name)
{
    const std::string config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::create_directories(config);
    test::WriteTextFile(config + "/user-dirs.dirs", "XDG_VIDEOS_DIR=\"$HOME/" + name + "\"\n");
    return Home() + "/" + name;
}

TEST(PlaylistEntryTest, AddsOnceAndStartsNewPlaylists)
{
    bool added = false;
    const std::string first = AddPlaylistEntry("", "/v/a.m4v", added);
    EXPECT_TRUE(added);
    EXPECT_EQ(first, "#EXTM3U\n/v/a.m4v\n");
    EXPECT_EQ(AddPlaylistEntry(first, "/v/a.m4v", added), first);
    EXPECT_FALSE(added);
    EXPECT_EQ(AddPlaylistEntry("#EXTM3U\r\n/v/a.m4v\r\n", "/v/a.m4v", added), "#EXTM3U\r\n/v/a.m4v\r\n");
    EXPECT_FALSE(added);
    EXPECT_EQ(AddPlaylistEntry("#EXTM3U\n/v/a.m4v", "/v/b.m4v", added), "#EXTM3U\n/v/a.m4v\n/v/b.m4v\n");
    EXPECT_TRUE(added);
}

TEST(LibraryHelperTest, AddsTheAbsolutePathOnce)
{
    const std::string videos = ConfigureVideosFolder("Films");
    const std::string folder = test::MakeTempFolder("converted");
    test::WriteTextFile(folder + "/Holiday (2).m4v", "x");
    test::WriteTextFile(folder + "/Other.m4v", "y");

    // A relative name, as given from the output folder, is stored as the absolute path.
    EXPECT_EQ(test::RunTool({kHelper, "Holiday (2).m4v"}, folder).exitCode, 0);
    EXPECT_EQ(test::RunTool({kHelper, folder + "/Holiday (2).m4v"}).exitCode, 0);
    EXPECT_EQ(test::RunTool({kHelper, folder + "/./Other.m4v"}).exitCode, 0);
    EXPECT_EQ(test::RunTool({kHelper, folder + "/Other.m4v"}).exitCode, 0);
    EXPECT_EQ(test::ReadTextFile(videos + "/Zantrove.m3u"),
              "#EXTM3U\n" + folder + "/Holiday (2).m4v\n" + folder + "/Other.m4v\n");
    // Written through a temporary file beside it, which is gone afterwards.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(videos))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(LibraryHelperTest, WithoutAConfiguredFolderUsesHomeVideos)
{
    std::filesystem::remove(std::string(std::getenv("XDG_CONFIG_HOME")) + "/user-dirs.dirs");
    const std::string folder = test::MakeTempFolder("converted");
    test::WriteTextFile(folder + "/clip.mp4", "x");
    const test::ToolResult run = test::RunTool({kHelper, folder + "/clip.mp4"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::ReadTextFile(Home() + "/Videos/Zantrove.m3u"), "#EXTM3U\n" + folder + "/clip.mp4\n");
}

TEST(LibraryHelperTest, RefusesAMissingFile)
{
    const std::string videos = ConfigureVideosFolder("Movies");
    const std::string missing = Home() + "/gone.m4v";
    const test::ToolResult run = test::RunTool({kHelper, missing});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find(missing), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(videos + "/Zantrove.m3u"));
}

} // namespace
} // namespace zantrove
