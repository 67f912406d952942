// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/IniFile.h"
#include "storage/UserSettings.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

TEST(UserSettingsTest, FirstRunDefaults)
{
    const std::string folder = test::MakeTempFolder();
    UserSettings settings;
    LoadSettings(folder, "/home/u", settings);
    EXPECT_EQ(settings.outputDir, "/home/u/Converted Video Files");
    EXPECT_EQ(settings.numberOfConvertedFiles, 0);
    EXPECT_EQ(ReadAddFilesFolder(folder, "/home/u"), "/home/u");
}

TEST(UserSettingsTest, RoundTripIncludingEmptyFolder)
{
    const std::string folder = test::MakeTempFolder();
    SaveSettings(folder, {"", 42});
    UserSettings loaded{"x", 0};
    LoadSettings(folder, "/home/u", loaded);
    EXPECT_EQ(loaded.outputDir, ""); // the key exists, so the default does not apply
    EXPECT_EQ(loaded.numberOfConvertedFiles, 42);
    EXPECT_EQ(test::ReadTextFile(SettingsFilePath(folder)),
              "[General]\nOutputDir=\nNumberOfConvertedFiles=42\n");
}

TEST(UserSettingsTest, UnreadableCountsKeepTheCurrentValue)
{
    for (const char* stored : {"abc", "70000", "-32769", "12.5", ""}) {
        const std::string folder = test::MakeTempFolder();
        WriteIniValue("General", "NumberOfConvertedFiles", stored, SettingsFilePath(folder));
        UserSettings settings;
        LoadSettings(folder, "/home/u", settings);
        EXPECT_EQ(settings.numberOfConvertedFiles, 0) << stored;
        SaveSettings(folder, settings);
        EXPECT_EQ(ReadIniValue("General", "NumberOfConvertedFiles", "", SettingsFilePath(folder)), "0");
    }
}

TEST(UserSettingsTest, CountStopsAtItsLimit)
{
    UserSettings settings{"", 32766};
    CountConvertedFile(settings);
    EXPECT_EQ(settings.numberOfConvertedFiles, 32767);
    CountConvertedFile(settings);
    EXPECT_EQ(settings.numberOfConvertedFiles, 32767);
}

TEST(UserSettingsTest, AddFilesFolderIsItsOwnSection)
{
    const std::string folder = test::MakeTempFolder();
    WriteAddFilesFolder(folder, "/media/clips/");
    SaveSettings(folder, {"/out", 1});
    EXPECT_EQ(ReadAddFilesFolder(folder, "/home/u"), "/media/clips/");
}

} // namespace
} // namespace zantrove
