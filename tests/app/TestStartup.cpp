// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"
#include "platform/FileSystem.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <thread>

namespace zantrove {
namespace {

class FixedClock : public Clock
{
public:
    explicit FixedClock(std::chrono::system_clock::time_point when) : m_when(when) {}
    std::chrono::system_clock::time_point Now() const override { return m_when; }

private:
    std::chrono::system_clock::time_point m_when;
};

std::chrono::system_clock::time_point LocalTime(int year, int month, int day, int h, int m, int s)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = h;
    tm.tm_min = m;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

class FakePlatform : public Platform
{
public:
    FolderLookup answer;
    mutable int lookups = 0;
    FolderLookup ShellFolder(int) const override
    {
        ++lookups;
        return answer;
    }
    std::string ApplicationFolder() const override { return "/app"; }
    std::string HomeFolder() const override { return "/home/u"; }
    bool ShellOpen(const std::string&) override { return false; }
    std::vector<ProcessEntry> ListProcesses() const override { return {}; }
    bool TerminateProcess(int) override { return false; }
    bool RequestShutdown() override { return false; }
};

TEST(DebugSwitchTest, OnlyTheExactArgumentString)
{
    EXPECT_TRUE(IsDebugSwitch({"/debug"}));
    EXPECT_FALSE(IsDebugSwitch({}));
    EXPECT_FALSE(IsDebugSwitch({"/Debug"}));
    EXPECT_FALSE(IsDebugSwitch({"/DEBUG"}));
    EXPECT_FALSE(IsDebugSwitch({"/debug", "x"}));
    EXPECT_FALSE(IsDebugSwitch({"/debugx"}));
    EXPECT_FALSE(IsDebugSwitch({" /debug"}));
    EXPECT_FALSE(IsDebugSwitch({"-debug"}));
    EXPECT_FALSE(IsDebugSwitch({"", "/debug"}));
}

TEST(SettingsFolderTest, CreatesBothLevelsBelowTheDataFolder)
{
    const std::string data = test::MakeTempFolder("data");
    FakePlatform platform;
    platform.answer = {FolderLookupStatus::Ok, data};
    SettingsFolder folder = ResolveSettingsFolder(platform);
    EXPECT_EQ(folder.path, data + "/Quelmar/Zantrove");
    EXPECT_TRUE(FolderExists(data + "/Quelmar/Zantrove"));
    EXPECT_TRUE(folder.notices.empty());
    // Present already: nothing new, nothing shown.
    folder = ResolveSettingsFolder(platform);
    EXPECT_EQ(folder.path, data + "/Quelmar/Zantrove");
    EXPECT_TRUE(folder.notices.empty());
}

TEST(SettingsFolderTest, FailedLookupIsReportedTwice)
{
    FakePlatform platform;
    platform.answer = {FolderLookupStatus::FolderDoesNotExist, {}};
    SettingsFolder folder = ResolveSettingsFolder(platform);
    EXPECT_EQ(folder.path, "/Quelmar/Zantrove");
    ASSERT_EQ(folder.notices.size(), 2u);
    EXPECT_EQ(folder.notices[0].text, "ApplicationData Folder does not exist!");
    EXPECT_EQ(folder.notices[0].icon, MessageIcon::Critical);
    EXPECT_EQ(folder.notices[0].title, "Zantrove");

    platform.answer = {FolderLookupStatus::InvalidFolderId, {}};
    folder = ResolveSettingsFolder(platform);
    ASSERT_EQ(folder.notices.size(), 2u);
    EXPECT_EQ(folder.notices[1].text, "Invalid Folder ID!");

    platform.answer = {FolderLookupStatus::OtherFailure, {}};
    EXPECT_TRUE(ResolveSettingsFolder(platform).notices.empty());
}

TEST(SettingsFolderTest, LinuxLookupUsesTheXdgDataHome)
{
    const std::string data = test::MakeTempFolder("xdg") + "/share";
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    const FolderLookup lookup = Platform::Instance().ShellFolder(Platform::kApplicationDataFolder);
    EXPECT_EQ(lookup.status, FolderLookupStatus::Ok);
    EXPECT_EQ(lookup.path, data);
    EXPECT_TRUE(FolderExists(data)); // created when missing
    EXPECT_EQ(Platform::Instance().ShellFolder(0x1234).status, FolderLookupStatus::InvalidFolderId);
    // A relative XDG_DATA_HOME is ignored, as desktop conventions ask.
    ::setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(Platform::Instance().ShellFolder(Platform::kApplicationDataFolder).path,
              std::string(std::getenv("HOME")) + "/.local/share");
}

TEST(ShellOpenTest, HandlerStartsInTheProgramFolder)
{
    // A stand-in opener, the only one on PATH, that notes the folder it was started in.
    const std::string bin = test::MakeTempFolder("bin");
    const std::string note = JoinPath(bin, "started-in");
    const std::string opener = JoinPath(bin, "xdg-open");
    test::WriteTextFile(opener, "#!/bin/sh\npwd -P > '" + note + "'\n");
    std::filesystem::permissions(opener, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", bin.c_str(), 1);
    // Called from elsewhere, so only a working folder given to the opener can be the program's.
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(bin);
    const bool started = Platform::Instance().ShellOpen("/videos/clip.avi");
    std::filesystem::current_path(here);
    ::setenv("PATH", path.c_str(), 1);
    ASSERT_TRUE(started);

    std::string folder;
    for (int wait = 0; wait < 200 && !folder.ends_with('\n'); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        folder = FileExists(note) ? test::ReadTextFile(note) : "";
    }
    EXPECT_EQ(folder, std::filesystem::canonical(Platform::Instance().ApplicationFolder()).string() + "\n");
}

TEST(DebugModeTest, LogFileNamedAfterTheStartTime)
{
    const std::string folder = test::MakeTempFolder();
    const FixedClock clock(LocalTime(2011, 2, 3, 14, 5, 9));
    DebugLog log(clock);
    EXPECT_TRUE(log.LogPath().empty());
    const UserMessage notice = StartDebugMode(log, folder, clock);
    EXPECT_EQ(notice.text, "Zantrove is now running in Debug Mode.");
    EXPECT_EQ(notice.icon, MessageIcon::Information);
    EXPECT_EQ(log.LogPath(), folder + "/03022011140509.log");
    const std::string content = test::ReadTextFile(log.LogPath());
    EXPECT_NE(content.find("Information\tLogFile created on: " + DebugLog::DateTimeText(clock.Now())),
              std::string::npos);
    EXPECT_EQ(content.find("2011-02-03 14:05:09"), 0u);
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 1);
}

TEST(DebugModeTest, EntriesStayOnOneLine)
{
    const std::string folder = test::MakeTempFolder();
    DebugLog log;
    log.LogEvent("ignored while off", DebugLog::Information);
    log.StartLogging(folder + "/x.log", DebugLog::LogToFile);
    log.LogEvent("a\r\nb", DebugLog::Information);
    const std::string content = test::ReadTextFile(folder + "/x.log");
    EXPECT_EQ(content.find("ignored"), std::string::npos);
    EXPECT_NE(content.find("\ta  b\n"), std::string::npos);
}

} // namespace
} // namespace zantrove
