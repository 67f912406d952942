// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: reading what a user or another program left there, and writing it back safely.
#include "storage/IniFile.h"
#include "storage/UserSettings.h"
#include "tests/support/TestHome.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zantrove {
namespace {
using namespace test;

const char* const kSample =
    "; settings of a user\n[General]\nOutputDir = /home/u/Videos  \n"
    "  NumberOfConvertedFiles=12\n\n; dialog folders\n[Commondialog]\nAddFiles=/media/x=y\n";

TEST(IniRead, GivesTheValueOrTheDefault)
{
    std::string accents; // a UTF-8 character is never split
    for (int i = 0; i < 300; ++i)
        accents += "\xC3\xA9";
    // Content, section, key and the value read.
    const std::array<std::string, 4> table[] = {
        {kSample, "Missing", "OutputDir", "d"},
        {kSample, "General", "AddFiles", "d"}, // a key of another section
        {kSample, "General", "OutputDir", "/home/u/Videos"},
        {kSample, "commondialog", "ADDFILES", "/media/x=y"},
        {"[A]\r\nk=v\r\n", "A", "k", "v"},
        {"\xEF\xBB\xBF[A]\nk=v\n", "A", "k", "v"}, // a byte-order mark, as some editors write
        {"[A]\nk=\n", "A", "k", ""},               // empty is not absent
        {"[A]\n[]\nk=v\n", "A", "k", "d"},         // an empty header still ends the section
        {"[A]\n[\nk=v\n", "A", "k", "v"},
        {"[A]\n\t k \t=\t v \r\n", "A", "k", "v"},
        {"[A]\nk=" + std::string(300, 'x') + "\n", "A", "k", std::string(254, 'x')}, // long values are cut
        {"[A]\nk=" + accents + "\n", "A", "k", accents.substr(0, 254 * 2)}};
    const std::string folder = MakeTempFolder(), file = folder + "/Settings.ini";
    EXPECT_EQ(ReadIniValue("General", "Count", -5, file), "-5") << "no file";
    for (const auto& [content, section, key, expected] : table) {
        WriteTextFile(file, content);
        EXPECT_EQ(ReadIniValue(section, key, "d", file), expected) << content << " " << section << "/" << key;
    }
    // Only a regular file is read: a FIFO would block an ordinary open until something wrote to it.
    const std::string fifo = folder + "/fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadIniValue("General", "OutputDir", "d", fifo), "d");
    EXPECT_EQ(ReadIniValue("General", "OutputDir", "d", folder), "d");
}

// A file that stays as it was is read once; a change, even at the same size moments later, is seen.
TEST(IniRead, ASettledFileIsReadOnceAndChangesAreSeen)
{
    const std::string file = MakeTempFolder() + "/iPad.ini";
    for (const char* value : {"1", "2"}) {
        WriteTextFile(file, std::string("[A]\nk=") + value + "\n");
        EXPECT_EQ(ReadIniValue("A", "k", "", file), value);
    }
    const auto settled = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(file, settled);
    EXPECT_EQ(ReadIniValue("A", "k", "", file), "2");
    WriteTextFile(file, "[A]\nk=3\n");
    std::filesystem::last_write_time(file, settled);
    EXPECT_EQ(ReadIniValue("A", "k", "", file), "2") << "read again although it looks unchanged";
    std::filesystem::last_write_time(file, settled + std::chrono::seconds(1));
    EXPECT_EQ(ReadIniValue("A", "k", "", file), "3");
}

TEST(IniWrite, CreatesAndReplacesInPlaceKeepingEverythingElseByteForByte)
{
    const std::string file = MakeTempFolder() + "/new.ini";
    ASSERT_TRUE(WriteIniValue("General", "OutputDir", "/out", file));
    ASSERT_TRUE(WriteIniValue("Commondialog", "AddFiles", "/in/", file));
    ASSERT_TRUE(WriteIniValue("General", "Count", "3", file));
    EXPECT_EQ(ReadTextFile(file), "[General]\nOutputDir=/out\nCount=3\n[Commondialog]\nAddFiles=/in/\n");

    WriteTextFile(file, kSample);
    ASSERT_TRUE(WriteIniValue("general", "NUMBEROFCONVERTEDFILES", "13", file));
    std::string expected = kSample;
    expected.replace(expected.find("  NumberOfConvertedFiles=12"), 27, "NUMBEROFCONVERTEDFILES=13");
    EXPECT_EQ(ReadTextFile(file), expected);
    // A new key lands after the section's last line, before the blank line and the next comment.
    ASSERT_TRUE(WriteIniValue("General", "New", "v", file));
    EXPECT_NE(ReadTextFile(file).find("NUMBEROFCONVERTEDFILES=13\nNew=v\n\n; dialog folders\n"),
              std::string::npos);

    WriteTextFile(file, "[A]\r\nk=1\r\n");
    ASSERT_TRUE(WriteIniValue("A", "j", "2", file));
    EXPECT_EQ(ReadTextFile(file), "[A]\r\nk=1\r\nj=2\r\n");
}

TEST(IniWrite, ReadOnlyFilesAndLinksAreWrittenLineBreaksAndMissingFoldersRefused)
{
    const std::string folder = MakeTempFolder(), file = folder + "/real.ini";
    WriteTextFile(file, "[General]\nOutputDir=/a\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    EXPECT_TRUE(WriteIniValue("General", "OutputDir", "/b", file));
    EXPECT_EQ(WriteIniValue("General", "OutputDir", "/c\n[Evil]\nk=v", file).error().code, EINVAL);
    EXPECT_FALSE(WriteIniValue("Gen]eral", "k", "v", file));
    EXPECT_EQ(ReadTextFile(file), "[General]\nOutputDir=/b\n");

    std::filesystem::create_symlink(file, folder + "/link.ini");
    ASSERT_TRUE(WriteIniValue("General", "OutputDir", "/d", folder + "/link.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder + "/link.ini"));
    EXPECT_EQ(ReadTextFile(file), "[General]\nOutputDir=/d\n");

    // The failure names the file and the system's reason.
    const auto missing = WriteIniValue("A", "k", "v", folder + "/absent/x.ini");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().Text(),
              folder + "/absent/x.ini could not be written (" + std::strerror(ENOENT) + ")");
    EXPECT_FALSE(std::filesystem::exists(folder + "/absent"));
}

TEST(IniWrite, AWriteCutShortAsOnAFullDiskLeavesTheOldFileWhole)
{
    const std::string folder = MakeTempFolder(), file = folder + "/whole.ini";
    const std::string original = "[General]\nOutputDir=/a\n; " + std::string(2000, 'c') + "\n";
    WriteTextFile(file, original);
    // A file-size limit below the new content makes the write fail halfway.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(WriteIniValue("General", "OutputDir", "/b", file) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write should have reported failure";
    EXPECT_EQ(ReadTextFile(file), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1)
        << "a temporary file is left";
}

TEST(UserSettings, FirstRunDefaultsRoundTripAndUnreadableCounts)
{
    const std::string folder = MakeTempFolder();
    const auto loaded = [&folder](UserSettings settings) {
        EXPECT_FALSE(LoadSettings(folder, "/home/u", settings));
        return settings.outputDir + "|" + std::to_string(settings.numberOfConvertedFiles);
    };
    EXPECT_EQ(loaded({}), "/home/u/Converted Video Files|0");
    EXPECT_TRUE(SaveSettings(folder, {"", 42}));
    EXPECT_EQ(loaded({"x", 0}), "|42"); // an empty folder is kept, not defaulted
    for (const char* stored : {"abc", "70000", "-32769", "12.5"}) {
        ASSERT_TRUE(WriteIniValue("General", "NumberOfConvertedFiles", stored, SettingsFilePath(folder)));
        EXPECT_EQ(loaded({"", 7}), "|7") << stored;
    }
    // Folders are read back whole, up to the system's longest path; a longer one is not taken.
    const std::string deep = "/" + std::string(300, 'd') + "/" + std::string(3000, 'e');
    ASSERT_TRUE(SaveSettings(folder, {deep, 1}));
    EXPECT_EQ(loaded({}), deep + "|1");
    ASSERT_TRUE(SaveSettings(folder, {deep + deep, 1}));
    EXPECT_EQ(loaded({}), "/home/u/Converted Video Files|1");
    UserSettings settings{"", 32766};
    CountConvertedFile(settings);
    CountConvertedFile(settings);
    EXPECT_EQ(settings.numberOfConvertedFiles, 32767);
    // A settings file that cannot be written says so.
    const std::string blocked = MakeTempFolder() + "/not a folder";
    WriteTextFile(blocked, "a file");
    const auto saved = SaveSettings(blocked, {"", 1});
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().Text(), "Your settings could not be saved to " + blocked + "/Settings.ini (" +
                                        std::strerror(ENOTDIR) + ")");
}

// A settings file far larger than any real one is neither read nor rewritten, and the user is told.
TEST(UserSettings, AnOversizedFileIsLeftAsItIsAndNamed)
{
    const std::string folder = MakeTempFolder(), file = SettingsFilePath(folder);
    const std::string content = "[General]\nNumberOfConvertedFiles=9\n;" + std::string(kIniFileMaxBytes, 'x');
    WriteTextFile(file, content);
    UserSettings settings;
    const auto notice = LoadSettings(folder, "/home/u", settings);
    ASSERT_TRUE(notice);
    EXPECT_TRUE(notice->text.starts_with("The settings file " + file + " is 1.0 MB, far larger"))
        << notice->text;
    EXPECT_EQ(settings.numberOfConvertedFiles, 0);
    EXPECT_FALSE(SaveSettings(folder, {"/x", 1}));
    EXPECT_EQ(std::filesystem::file_size(file), content.size());

    WriteTextFile(file, content.substr(0, kIniFileMaxBytes)); // the largest file still read
    EXPECT_FALSE(LoadSettings(folder, "/home/u", settings));
    EXPECT_EQ(settings.numberOfConvertedFiles, 9);
}

} // namespace
} // namespace zantrove
