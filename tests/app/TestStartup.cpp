// SPDX-License-Identifier: GPL-3.0-or-later
// What happens at start-up: the debug switch and log, the settings folder, the help addresses, and
// the handler that opens a file.
#include "app/HelpLinks.h"
#include "app/Startup.h"
#include "app/WindowHelp.h"
#include "platform/FileSystem.h"
#include "tests/support/FoldersOnlyPlatform.h"
#include "tests/support/TestHome.h"

#include <cerrno>
#include <ctime>
#include <gtest/gtest.h>
#include <tuple>

namespace zantrove {
namespace {

class FixedClock : public Clock
{
public:
    std::chrono::system_clock::time_point Now() const override
    {
        std::tm tm{};
        tm.tm_sec = 9, tm.tm_min = 5, tm.tm_hour = 14, tm.tm_mday = 3, tm.tm_mon = 1, tm.tm_year = 111;
        tm.tm_isdst = -1;
        return std::chrono::system_clock::from_time_t(std::mktime(&tm));
    }
};

class FakePlatform : public test::FoldersOnlyPlatform
{
public:
    using FoldersOnlyPlatform::FoldersOnlyPlatform;
    Expected<std::string, Error> answer = std::string();
    Expected<std::string, Error> ShellFolder(int) const override { return answer; }
};

TEST(Startup, TheSettingsFolderIsCreatedBelowTheDataFolderAndWithoutOneThereIsNone)
{
    const std::string data = test::MakeTempFolder("data");
    FakePlatform platform(Platform::Instance());
    platform.answer = data;
    for (int run = 0; run < 2; ++run) { // the second time it is there already: nothing new, nothing shown
        const SettingsFolder folder = ResolveSettingsFolder(platform);
        EXPECT_EQ(folder.path, data + "/Quelmar/Zantrove");
        EXPECT_TRUE(FolderExists(folder.path));
        EXPECT_TRUE(folder.notices.empty());
    }
    // A failed lookup is reported twice, then that there is no folder; nothing is made at the root
    // (compared, not asserted absent: an older build's run beside this one may have made it).
    const bool atRoot = FolderExists("/Quelmar");
    const std::string last(kNoSettingsFolderMessage);
    const std::tuple<Expected<std::string, Error>, std::size_t, std::string> failures[] = {
        {Unexpected{Error{std::string(kNoDataFolderText), {}, ENOENT}}, 3,
         "ApplicationData Folder does not exist!"},
        {std::string(), 1, last},
        {std::string("/"), 1, last},
        {std::string("/proc"), 2, "The folder /proc/Quelmar/Zantrove could not be created or written."}};
    for (const auto& [answer, notices, first] : failures) {
        platform.answer = answer;
        const SettingsFolder folder = ResolveSettingsFolder(platform);
        EXPECT_EQ(folder.path, "");
        ASSERT_EQ(folder.notices.size(), notices) << first;
        EXPECT_EQ(folder.notices.front().text, first);
        EXPECT_EQ(folder.notices.back().text, last);
        EXPECT_EQ(folder.notices.front().icon, MessageIcon::Critical);
    }
    EXPECT_EQ(FolderExists("/Quelmar"), atRoot);
}

TEST(Startup, TheDataFolderLookupFollowsAnAbsoluteXdgDataHome)
{
    const std::string data = test::MakeTempFolder("xdg") + "/share";
    {
        const test::ScopedEnv xdg("XDG_DATA_HOME", data);
        const auto lookup = Platform::Instance().ShellFolder(Platform::kApplicationDataFolder);
        ASSERT_TRUE(lookup);
        EXPECT_EQ(*lookup, data);
    }
    EXPECT_TRUE(FolderExists(data)); // created when missing
    const auto invalid = Platform::Instance().ShellFolder(0x1234);
    ASSERT_FALSE(invalid);
    EXPECT_EQ(invalid.error().Text(), kInvalidFolderIdText);
    // A relative XDG_DATA_HOME is ignored, as desktop conventions ask.
    const test::ScopedEnv xdg("XDG_DATA_HOME", "relative");
    EXPECT_EQ(Platform::Instance().ShellFolder(Platform::kApplicationDataFolder).value(),
              std::string(std::getenv("HOME")) + "/.local/share");
}

TEST(Startup, OnlyTheExactDebugArgumentStartsALogNamedAfterTheStartTimeWithEachEntryOnOneLine)
{
    EXPECT_TRUE(IsDebugSwitch({"/debug"}));
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{}, {"/Debug"}, {"/debug", "x"}, {"/debugx"}, {"", "/debug"}})
        EXPECT_FALSE(IsDebugSwitch(arguments)) << arguments.size();
    EXPECT_TRUE(StartFiles({"/debug"}).empty());
    EXPECT_EQ(StartFiles({"/debug", "", "a.avi"}), (std::vector<std::string>{"/debug", "a.avi"}));
    const std::string folder = test::MakeTempFolder();
    const FixedClock clock;
    DebugLog log(clock);
    log.LogEvent("ignored while off", DebugLog::Information);
    EXPECT_EQ(StartDebugMode(log, folder, clock).icon, MessageIcon::Information);
    EXPECT_EQ(log.LogPath(), folder + "/03022011140509.log");
    log.LogEvent("a\r\nb", DebugLog::Information);
    const std::string content = test::ReadTextFile(log.LogPath());
    EXPECT_EQ(content.find("2011-02-03 14:05:09\tInformation\tLogFile created on: "), 0u) << content;
    EXPECT_EQ(content.find("ignored"), std::string::npos);
    EXPECT_NE(content.find("\ta  b\n"), std::string::npos);
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 2);
}

TEST(HelpLinks, AddressesCarryTheStepAndTheLanguageCode)
{
    // The first and last languages and both sides of the table's ends.
    for (const auto& [language, code] : {std::pair{0, "cs"}, {15, "sr"}, {-1, ""}, {16, ""}})
        EXPECT_EQ(HelpLanguageCode(language), code) << language;
    // Message lines are joined by CR LF only: no lone line feed or carriage return.
    for (const UserMessage& message : {ProfileHelpMessage(), CreditsMessage()}) {
        std::string text = message.text;
        for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
            text.erase(at, 2);
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << message.text;
    }
}

} // namespace
} // namespace zantrove
