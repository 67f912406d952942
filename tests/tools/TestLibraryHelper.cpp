// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/TestHome.h"
#include "tests/support/ToolProcess.h"
#include "tests/tools/TestIpod.h"
#include "tools/library/IpodSpace.h"
#include "tools/library/PlaylistFile.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace zantrove {
namespace {

namespace fs = std::filesystem;

const std::string kHelper = ZANTROVE_APP_DIR "/Components/AddiTunes.exe";

TEST(PlaylistEntryTest, AddsOnceAndStartsNewPlaylists)
{
    const std::string first = AddPlaylistEntry("", "/v/a.m4v").value();
    EXPECT_EQ(first, "#EXTM3U\n/v/a.m4v\n");
    EXPECT_EQ(AddPlaylistEntry("#EXTM3U\r\n/v/a.m4v\r\n", "/v/a.m4v"), std::nullopt);
    EXPECT_EQ(AddPlaylistEntry("#EXTM3U\n/v/a.m4v", "/v/b.m4v"), "#EXTM3U\n/v/a.m4v\n/v/b.m4v\n");
    // A line break in a name stays inside the one entry.
    EXPECT_EQ(AddPlaylistEntry(first, PlaylistEntry("/v/x\n#EXTINF:1,y\r.m4v")),
              first + "file:///v/x%0A%23EXTINF%3A1%2Cy%0D.m4v\n");
}

class LibraryHelperTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(fs::path(m_userDirs).parent_path());
        test::WriteTextFile(m_clip, "x");
    }

    const test::ScopedEnv m_noIpod{"ZANTROVE_TEST_MOUNTS", test::MountsWithoutIpod()};
    const std::string m_home = std::getenv("HOME");
    const std::string m_userDirs = std::string(std::getenv("XDG_CONFIG_HOME")) + "/user-dirs.dirs";
    const std::string m_folder = test::MakeTempFolder("converted");
    const std::string m_clip = m_folder + "/Holiday (2).m4v";
};

TEST_F(LibraryHelperTest, WithoutAnIpodAddsTheAbsolutePathOnceToTheVideosPlaylist)
{
    test::WriteTextFile(m_folder + "/Other.m4v", "y");
    test::WriteTextFile(m_userDirs, "XDG_VIDEOS_DIR=\"$HOME/Films\"\n");
    // A relative name, as given from the output folder, is stored as the absolute path.
    const test::ToolResult first = test::RunTool({kHelper, "Holiday (2).m4v"}, m_folder);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out, "No iPod connected: added to the playlist " + m_home + "/Films/Zantrove.m3u\n");
    for (const char* again : {"/Holiday (2).m4v", "/./Other.m4v", "/Other.m4v"})
        EXPECT_EQ(test::RunTool({kHelper, m_folder + again}).exitCode, 0);
    EXPECT_EQ(test::ReadTextFile(m_home + "/Films/Zantrove.m3u"),
              "#EXTM3U\n" + m_clip + "\n" + m_folder + "/Other.m4v\n");
    // Written through a temporary file beside it, which is gone afterwards.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_home + "/Films"), {}), 1);
}

// Each failure is one line that starts with the file's path, which the error log picks up.
TEST_F(LibraryHelperTest, ReportsFailuresWithThePathFirst)
{
    test::WriteTextFile(m_userDirs, "XDG_VIDEOS_DIR=\"$HOME/Movies\"\n");
    const std::string playlist = m_home + "/Movies/Zantrove.m3u";
    const test::ToolResult missing = test::RunTool({kHelper, m_home + "/gone.m4v"});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.err.starts_with(m_home + "/gone.m4v: ")) << missing.err;
    EXPECT_FALSE(fs::exists(playlist));
    // A folder where the playlist should be cannot be replaced, even by root.
    fs::create_directories(playlist);
    const test::ToolResult run = test::RunTool({kHelper, m_clip});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(run.err, m_clip + ": cannot write " + playlist + "\n");
}

// Neither a database that cannot be read nor one that cannot be written (an iPod Classic signs its
// database with its FireWire ID, which this one lacks) loses anything on the iPod.
TEST_F(LibraryHelperTest, AnIpodFailureIsReportedAndLeavesTheIpodAsItWas)
{
    for (const bool damaged : {true, false}) {
        const test::TestIpod ipod;
        ASSERT_TRUE(ipod.Made());
        if (damaged)
            test::WriteTextFile(ipod.DatabasePath(), "mhbd but not really a database");
        else
            test::WriteTextFile(ipod.MountPoint() + "/iPod_Control/Device/SysInfo", "ModelNumStr: MB029\n");
        const std::string before = test::ReadTextFile(ipod.DatabasePath());
        const test::ToolResult run = test::RunTool({kHelper, m_clip});
        EXPECT_EQ(run.exitCode, 1);
        const char* problem = damaged ? ": the database of the iPod at " : ": cannot write the database";
        EXPECT_NE(run.err.find(m_clip + problem), std::string::npos) << run.err;
        EXPECT_EQ(test::ReadTextFile(ipod.DatabasePath()), before);
        EXPECT_TRUE(ipod.MusicFiles().empty());
        // No copy left beside it.
        EXPECT_EQ(fs::directory_iterator(ipod.MountPoint() + "/iPod_Control/iTunes")->path(),
                  ipod.DatabasePath());
    }
}

// The connected iPod's free space against a batch's size, with a stand-in for the free-space query.
TEST(IpodSpaceTest, FreeSpaceOfTheConnectedIpodAgainstTheBatch)
{
    {
        const test::TestIpod ipod;
        ASSERT_TRUE(ipod.Made());
        std::string asked;
        const auto space = ConnectedIpodSpace([&asked](const std::string& folder) {
            asked = folder;
            return std::optional<std::uint64_t>(1'500'000'000);
        });
        ASSERT_TRUE(space);
        EXPECT_EQ(asked, ipod.MountPoint());
        const std::string free = "1.50 GB free on the iPod JO S IPOD";
        const IpodFit fit = DescribeIpodFit(*space, 1'500'000'000); // exactly full still fits
        EXPECT_TRUE(fit.fits);
        EXPECT_EQ(fit.text, free);
        const IpodFit over = DescribeIpodFit(*space, 2'340'000'000);
        EXPECT_FALSE(over.fits);
        EXPECT_EQ(over.text, free + ": the converted files (about 2.34 GB) will not fit");
        // A space that cannot be read says nothing rather than something wrong.
        EXPECT_FALSE(ConnectedIpodSpace([](const std::string&) { return std::optional<std::uint64_t>(); }));
        EXPECT_GT(FreeSpaceOf(ipod.MountPoint()).value_or(0), 0u);
    }
    const test::ScopedEnv noIpod("ZANTROVE_TEST_MOUNTS", test::MountsWithoutIpod());
    EXPECT_FALSE(ConnectedIpodSpace([](const std::string&) { return std::optional<std::uint64_t>(1); }));
}

} // namespace
} // namespace zantrove
