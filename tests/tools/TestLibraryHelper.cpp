// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/TestHome.h"
#include "tests/tools/TestIpod.h"
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

class LibraryHelperTest : public ::testing::Test
{
protected:
    void SetUp() override { test::ShowNoIpod(); }
    void TearDown() override { ::unsetenv("ZANTROVE_TEST_MOUNTS"); }
};

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
    // A line break in a name stays inside the one entry.
    EXPECT_EQ(PlaylistEntry("/v/a b (2).m4v"), "/v/a b (2).m4v");
    EXPECT_EQ(AddPlaylistEntry(first, PlaylistEntry("/v/x\n#EXTINF:1,y\r.m4v"), added),
              first + "file:///v/x%0A%23EXTINF%3A1%2Cy%0D.m4v\n");
}

TEST_F(LibraryHelperTest, WithoutAnIpodAddsTheAbsolutePathOnce)
{
    const std::string videos = ConfigureVideosFolder("Films");
    const std::string folder = test::MakeTempFolder("converted");
    test::WriteTextFile(folder + "/Holiday (2).m4v", "x");
    test::WriteTextFile(folder + "/Other.m4v", "y");

    // A relative name, as given from the output folder, is stored as the absolute path.
    const test::ToolResult first = test::RunTool({kHelper, "Holiday (2).m4v"}, folder);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out, "No iPod connected: added to the playlist " + videos + "/Zantrove.m3u\n");
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

TEST_F(LibraryHelperTest, WithoutAConfiguredFolderUsesHomeVideos)
{
    std::filesystem::remove(std::string(std::getenv("XDG_CONFIG_HOME")) + "/user-dirs.dirs");
    const std::string folder = test::MakeTempFolder("converted");
    test::WriteTextFile(folder + "/clip.mp4", "x");
    const test::ToolResult run = test::RunTool({kHelper, folder + "/clip.mp4"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(test::ReadTextFile(Home() + "/Videos/Zantrove.m3u"), "#EXTM3U\n" + folder + "/clip.mp4\n");
}

// Each failure is one line that starts with the file's path, which the error log picks up.
TEST_F(LibraryHelperTest, ReportsFailuresWithThePathFirst)
{
    const std::string videos = ConfigureVideosFolder("Movies");
    const std::string missing = Home() + "/gone.m4v";
    test::ToolResult run = test::RunTool({kHelper, missing});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.starts_with(missing + ": ")) << run.err;
    EXPECT_FALSE(std::filesystem::exists(videos + "/Zantrove.m3u"));

    const std::string clip = test::MakeTempFolder("converted") + "/clip.m4v";
    test::WriteTextFile(clip, "x");
    // A folder where the playlist should be cannot be replaced, even by root.
    std::filesystem::create_directories(videos + "/Zantrove.m3u");
    run = test::RunTool({kHelper, clip});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(run.err, clip + ": cannot write " + videos + "/Zantrove.m3u\n");
}

// Neither a database that cannot be read nor one that cannot be written (an iPod Classic signs its
// database with its FireWire ID, which this one lacks) loses anything on the iPod.
TEST(LibraryHelperIpodTest, AFailureIsReportedAndLeavesTheIpodAsItWas)
{
    const std::string clip = test::MakeTempFolder("converted") + "/clip.m4v";
    test::WriteTextFile(clip, "x");
    for (const bool damaged : {true, false}) {
        const test::TestIpod ipod;
        ASSERT_TRUE(ipod.Made());
        if (damaged)
            test::WriteTextFile(ipod.DatabasePath(), "mhbd but not really a database");
        else
            test::WriteTextFile(ipod.MountPoint() + "/iPod_Control/Device/SysInfo", "ModelNumStr: MB029\n");
        const std::string before = test::ReadTextFile(ipod.DatabasePath());

        const test::ToolResult run = test::RunTool({kHelper, clip});
        EXPECT_EQ(run.exitCode, 1);
        const std::string problem =
            damaged ? ": the database of the iPod at " : ": cannot write the database";
        EXPECT_NE(run.err.find(clip + problem), std::string::npos) << run.err;
        EXPECT_EQ(test::ReadTextFile(ipod.DatabasePath()), before);
        EXPECT_TRUE(ipod.MusicFiles().empty());
        EXPECT_EQ(std::filesystem::directory_iterator(ipod.MountPoint() + "/iPod_Control/iTunes")->path(),
                  ipod.DatabasePath())
            << "no copy left beside it";
    }
}

} // namespace
} // namespace zantrove
