// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/IniFile.h"
#include "tests/support/TestHome.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zantrove {
namespace {
using test::MakeTempFolder;
using test::ReadTextFile;
using test::WriteTextFile;

const char* const kSample = "; settings of a user\n"
                            "[General]\n"
                            "OutputDir = /home/u/Videos  \n"
                            "  NumberOfConvertedFiles=12\n"
                            "\n"
                            "; dialog folders\n"
                            "[Commondialog]\n"
                            "AddFiles=/media/x=y\n";

struct ReadCase
{
    const char* name;
    const char* content; // nullptr: no file at all
    const char* section;
    const char* key;
    const char* defaultValue;
    const char* expected;
};

class IniReadTest : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(IniReadTest, ReadsValueOrDefault)
{
    const ReadCase& c = GetParam();
    const std::string file = MakeTempFolder() + "/Settings.ini";
    if (c.content)
        WriteTextFile(file, c.content);
    EXPECT_EQ(ReadIniValue(c.section, c.key, c.defaultValue, file), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniReadTest,
    ::testing::Values(
        ReadCase{"AbsentFile", nullptr, "General", "OutputDir", "fallback", "fallback"},
        ReadCase{"AbsentSection", kSample, "Missing", "OutputDir", "d", "d"},
        ReadCase{"AbsentKey", kSample, "General", "Missing", "d", "d"},
        ReadCase{"KeyOfOtherSection", kSample, "General", "AddFiles", "d", "d"},
        ReadCase{"BlanksAroundValueRemoved", kSample, "General", "OutputDir", "", "/home/u/Videos"},
        ReadCase{"IndentedKey", kSample, "General", "NumberOfConvertedFiles", "", "12"},
        ReadCase{"OtherLetterCase", kSample, "gENERAL", "outputdir", "", "/home/u/Videos"},
        ReadCase{"ValueAfterFirstEquals", kSample, "commondialog", "ADDFILES", "", "/media/x=y"},
        ReadCase{"CrLfFile", "[A]\r\nk=v\r\n", "A", "k", "", "v"},
        ReadCase{"EmptyValueIsNotAbsent", "[A]\nk=\n", "A", "k", "d", ""}),
    [](const auto& p) { return p.param.name; });

TEST(IniReadTest, NumericDefaultGivesItsText)
{
    EXPECT_EQ(ReadIniValue("General", "Count", 0, MakeTempFolder() + "/none.ini"), "0");
    EXPECT_EQ(ReadIniValue("General", "Count", -5, MakeTempFolder() + "/none.ini"), "-5");
}

TEST(IniReadTest, OnlyARegularFileIsRead)
{
    // A FIFO in the file's place would block an ordinary open until something wrote to it.
    const std::string folder = MakeTempFolder();
    const std::string fifo = folder + "/Settings.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadIniValue("General", "OutputDir", "d", fifo), "d");
    EXPECT_EQ(ReadIniValue("General", "OutputDir", "d", folder), "d");
}

TEST(IniReadTest, LongValueIsCutTo254Characters)
{
    const std::string file = MakeTempFolder() + "/long.ini";
    WriteTextFile(file, "[A]\nk=" + std::string(300, 'x') + "\n");
    EXPECT_EQ(ReadIniValue("A", "k", "", file), std::string(254, 'x'));

    // Cut by characters, so a UTF-8 character is never split.
    std::string accents;
    for (int i = 0; i < 300; ++i)
        accents += "\xC3\xA9";
    WriteTextFile(file, "[A]\nk=" + accents + "\n");
    EXPECT_EQ(ReadIniValue("A", "k", "", file), accents.substr(0, 254 * 2));
}

TEST(IniWriteTest, CreatesFileSectionAndKey)
{
    const std::string file = MakeTempFolder() + "/new.ini";
    ASSERT_TRUE(WriteIniValue("General", "OutputDir", "/out", file));
    ASSERT_TRUE(WriteIniValue("Commondialog", "AddFiles", "/in/", file));
    ASSERT_TRUE(WriteIniValue("General", "Count", "3", file));
    EXPECT_EQ(ReadTextFile(file), "[General]\nOutputDir=/out\nCount=3\n[Commondialog]\nAddFiles=/in/\n");
}

TEST(IniWriteTest, ReplacesInPlaceAndKeepsEverythingElseByteForByte)
{
    const std::string file = MakeTempFolder() + "/keep.ini";
    WriteTextFile(file, kSample);
    ASSERT_TRUE(WriteIniValue("general", "NUMBEROFCONVERTEDFILES", "13", file));
    std::string expected = kSample;
    expected.replace(expected.find("  NumberOfConvertedFiles=12"), 27, "NUMBEROFCONVERTEDFILES=13");
    EXPECT_EQ(ReadTextFile(file), expected);

    // A new key lands after the section's last line, before the blank line and the next comment.
    ASSERT_TRUE(WriteIniValue("General", "New", "v", file));
    EXPECT_NE(ReadTextFile(file).find("NUMBEROFCONVERTEDFILES=13\nNew=v\n\n; dialog folders\n"),
              std::string::npos);
}

TEST(IniWriteTest, KeepsCrLfLineEnds)
{
    const std::string file = MakeTempFolder() + "/crlf.ini";
    WriteTextFile(file, "[A]\r\nk=1\r\n");
    ASSERT_TRUE(WriteIniValue("A", "j", "2", file));
    EXPECT_EQ(ReadTextFile(file), "[A]\r\nk=1\r\nj=2\r\n");
}

TEST(IniWriteTest, ReadOnlyFileIsWritten)
{
    const std::string file = MakeTempFolder() + "/ro.ini";
    WriteTextFile(file, "[General]\nOutputDir=/a\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_read);
    EXPECT_TRUE(WriteIniValue("General", "OutputDir", "/b", file));
    EXPECT_EQ(ReadIniValue("General", "OutputDir", "", file), "/b");
}

TEST(IniWriteTest, MissingFolderFailsWithoutCreatingIt)
{
    const std::string folder = MakeTempFolder() + "/absent";
    EXPECT_FALSE(WriteIniValue("A", "k", "v", folder + "/x.ini"));
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(IniWriteTest, LineBreaksCannotInjectKeys)
{
    const std::string file = MakeTempFolder() + "/inject.ini";
    WriteTextFile(file, "[General]\nOutputDir=/a\n");
    EXPECT_FALSE(WriteIniValue("General", "OutputDir", "/b\n[Evil]\nk=v", file));
    EXPECT_FALSE(WriteIniValue("Gen]eral", "k", "v", file));
    EXPECT_EQ(ReadTextFile(file), "[General]\nOutputDir=/a\n");
}

TEST(IniWriteTest, InterruptedWriteLeavesTheOldFileWhole)
{
    const std::string file = MakeTempFolder() + "/whole.ini";
    const std::string original = "[General]\nOutputDir=/a\n; " + std::string(2000, 'c') + "\n";
    WriteTextFile(file, original);
    // A file-size limit below the new content makes the write fail halfway, as a full disk would.
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
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write should have reported failure";
    EXPECT_EQ(ReadTextFile(file), original);
    // No temporary file is left behind either.
    int entries = 0;
    for ([[maybe_unused]] const auto& e :
         std::filesystem::directory_iterator(std::filesystem::path(file).parent_path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(IniWriteTest, WritesThroughALinkToItsTarget)
{
    const std::string folder = MakeTempFolder();
    WriteTextFile(folder + "/real.ini", "[A]\nk=1\n");
    std::filesystem::create_symlink(folder + "/real.ini", folder + "/link.ini");
    ASSERT_TRUE(WriteIniValue("A", "k", "2", folder + "/link.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder + "/link.ini"));
    EXPECT_EQ(ReadTextFile(folder + "/real.ini"), "[A]\nk=2\n");
}

} // namespace
} // namespace zantrove
