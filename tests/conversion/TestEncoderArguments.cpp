// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's arguments for a row, the picture's fit into the target size, and the script that
// runs them.
#include "conversion/ConversionScript.h"
#include "conversion/EncoderArguments.h"
#include "media/VideoListModel.h"
#include "platform/FileSystem.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestHome.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

namespace zantrove {
namespace {
using test::ReadTextFile;
using test::WriteTextFile;

std::string Profile(std::string_view section, std::string_view key)
{
    static const std::map<std::pair<std::string, std::string>, std::string> values{
        {{"mpeg4", "VideoFormat"}, "mp4"},
        {{"mpeg4", "Extension"}, "mp4"},
        {{"aac", "Extension"}, "m4a"},
        {{"libx264", "VideoFormat"}, "ipod"},
        {{"libx264", "Extension"}, "m4v"},
        {{"libx264", "ExtraParameters"},
         "-profile:v  baseline -level 3.0 -metadata \"title=A 'B' \\\"C\\\"\""},
    };
    const auto found = values.find({std::string(section), std::string(key)});
    return found == values.end() ? std::string() : found->second;
}

EncoderSettings Settings(const std::string& outputFolder = "D:\\Out")
{
    return {.videoCodec = "mpeg4",
            .videoSize = "320x240",
            .keepAspectRatio = true,
            .videoBitrate = "768 kbps",
            .frameRate = "25 fps",
            .audioCodec = "aac",
            .audioBitrate = "128 kbps",
            .sampleRate = "44100",
            .channelsIndex = 1,
            .outputFolder = outputFolder};
}

VideoRow Row(const std::string& name = "Holiday", const std::string& path = "C:\\Videos\\Holiday.avi")
{
    return {name, "AVC", "00:00:02", "720x400", "", "", path};
}

FileExistsTest Existing(std::vector<std::string> paths)
{
    return [paths](const std::string& path) { return std::ranges::count(paths, path) != 0; };
}

// The line for Row() and Settings() after a change, with D:\Out\Holiday.mp4 taken.
template <typename Change> std::string LineAfter(Change change)
{
    VideoRow row = Row();
    EncoderSettings settings = Settings();
    change(row, settings);
    return RenderArgumentLine(
        BuildEncoderArguments(row, settings, Profile, Existing({"D:\\Out\\Holiday.mp4"}), '\\'));
}

// Whether the line holds every part, and not the absent one.
::testing::AssertionResult Holds(const std::string& line, std::initializer_list<std::string_view> parts,
                                 std::string_view absent = {})
{
    for (const std::string_view part : parts)
        if (line.find(part) == std::string::npos)
            return ::testing::AssertionFailure() << "no \"" << part << "\" in " << line;
    if (!absent.empty() && line.find(absent) != std::string::npos)
        return ::testing::AssertionFailure() << "\"" << absent << "\" in " << line;
    return ::testing::AssertionSuccess();
}

TEST(EncoderLineTest, FollowsTheRowAndTheSettings)
{
    using Row_ = VideoRow&;
    using Set = EncoderSettings&;
    // A taken name is numbered.
    EXPECT_EQ(
        LineAfter([](Row_, Set) {}),
        "-i \"C:\\Videos\\Holiday.avi\" -f mp4 -vcodec mpeg4 -s 320x178 -padtop 32 -padbottom 30 -b 718kbps "
        "-r 25 -acodec aac -ab 128kbps -ar 44100 -ac 2 -y \"D:\\Out\\Holiday (2).mp4\"");
    EXPECT_TRUE(Holds(LineAfter([](Row_, Set s) { s.videoOff = true; }),
                      {".avi\" -vn -acodec aac", "-y \"D:\\Out\\Holiday.m4a\""}));
    EXPECT_TRUE(Holds(LineAfter([](Row_, Set s) { s.audioOff = true, s.keepAspectRatio = false; }),
                      {" -s 320x240 -b 718kbps -r 25 -an -y "}));
    EXPECT_TRUE(
        Holds(LineAfter([](Row_ r, Set) { r.videoSize = "0x0"; }), {" -vcodec mpeg4 -b 718kbps"}, "-s "));
    EXPECT_TRUE(Holds(LineAfter([](Row_ r, Set) { r.beginTime = "00:01:00", r.endTime = "00:02:30"; }),
                      {" -r 25 -ss 00:01:00 -t 00:01:30 -acodec"}));
    EXPECT_TRUE(Holds(LineAfter([](Row_ r, Set) { r.beginTime = "00:01:00"; }), {" -r 25 -acodec"}, "-ss"));
    EXPECT_TRUE(Holds(LineAfter([](Row_, Set s) { s.videoBitrate = "64 kbps", s.channelsIndex = 0; }),
                      {" -b 14kbps ", " -ac 1 -y"}));
    // Written with "." in every locale.
    EXPECT_TRUE(
        Holds(LineAfter([](Row_, Set s) { s.videoBitrate = "1500.5 kbps"; }), {" -b 1450.5kbps -r 25 "}));
    // A rate that is no number drops the frame rate too.
    EXPECT_TRUE(Holds(LineAfter([](Row_, Set s) { s.videoBitrate = "high kbps"; }),
                      {" -padbottom 30 -acodec aac"}, "-r "));
    EXPECT_TRUE(Holds(LineAfter([](Row_, Set s) { s.channelsIndex = -1; }), {" -ar 44100 -y "}, " -ac "));
    EXPECT_TRUE(Holds(LineAfter([](Row_ r, Set) { r.filename.clear(); }), {" -y \"D:\\Out\\.mp4\""}));
    // Extra parameters follow the trim and split as a shell reads them.
    EXPECT_TRUE(Holds(LineAfter([](Row_, Set s) { s.videoCodec = "libx264", s.sameQuality = true; }),
                      {" -f ipod -vcodec libx264 ", "\"D:\\Out\\Holiday.m4v\"",
                       " -r 25 -sameq -profile:v baseline -level 3.0 -metadata title=A 'B' \"C\" -acodec"}));
}

class FitToTargetSizeTest : public ::testing::TestWithParam<std::array<const char*, 3>>
{
};

// Source, target, and the fragment with its arguments joined by blanks.
TEST_P(FitToTargetSizeTest, GivesSizePadAndCrop)
{
    std::string joined;
    for (const std::string& part : FitToTargetSize(GetParam()[0], GetParam()[1]))
        joined += (joined.empty() ? "" : " ") + part;
    EXPECT_EQ(joined, GetParam()[2]);
}

using Fit = std::array<const char*, 3>;
INSTANTIATE_TEST_SUITE_P(
    Table, FitToTargetSizeTest,
    ::testing::Values(Fit{"720x400", "320x240", "-s 320x178 -padtop 32 -padbottom 30"},
                      Fit{"640x480", "320x240", "-s 320x240"},
                      Fit{"720x576", "320x240", "-croptop 8 -cropbottom 8 -s 320x240"},
                      Fit{"352x288", "320x240", "-croptop 12 -cropbottom 10 -s 320x240"},
                      Fit{"1280x800", "1280x720", "-croptop 40 -cropbottom 40 -s 1280x720"}, // the most cut
                      // Beyond a strip the whole picture goes in, with bars at the sides: 4:3 into
                      // 16:9, an upright phone clip as displayed, a portrait clip.
                      Fit{"768x576", "1280x720", "-s 960x720 -padleft 160 -padright 160"},
                      Fit{"1080x1920", "1280x720", "-s 404x720 -padleft 438 -padright 438"},
                      Fit{"360x640", "320x240", "-s 134x240 -padleft 94 -padright 92"},
                      // A scaled height beyond 16 bits cannot be written: the step is left out.
                      Fit{"4x1080", "320x240", ""}, Fit{"0x0", "320x240", ""}, Fit{"640x0", "320x240", ""},
                      Fit{"640x480", "big", ""}),
    [](const auto& row) { return test::CaseName(std::string(row.param[0]) + "_in_" + row.param[1]); });

TEST(ChooseOutputPathTest, NumbersTakenNamesButNotFoldersAndEachRowOfARun)
{
    const std::string folder = test::MakeTempFolder("out");
    WriteTextFile(folder + "/Clip.mp4", "x");
    WriteTextFile(folder + "/Clip (2).mp4", "x");
    CreateFolderPath(folder + "/Clip (3).mp4");
    EXPECT_EQ(ChooseOutputPath(folder, "Clip", "mp4", FileExists, '/'), folder + "/Clip (3).mp4");
    EXPECT_EQ(ChooseOutputPath(folder, "Other", "mp4", FileExists, '/'), folder + "/Other.mp4");
    const auto lines = BuildEncoderLines({Row(), Row(), Row()}, Settings(), Profile, Existing({}), '\\');
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].outputPath, "D:\\Out\\Holiday.mp4");
    EXPECT_EQ(lines[1].outputPath, "D:\\Out\\Holiday (2).mp4");
    EXPECT_EQ(lines[2].outputPath, "D:\\Out\\Holiday (3).mp4");
    EXPECT_EQ(ShellQuote(""), "''");
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class ConversionScriptTest : public ::testing::Test
{
protected:
    ConversionScriptTest()
    {
        CreateFolderPath(m_app + "/Components");
        WriteTextFile(m_app + "/Components/Zantrove.dll", "#!/bin/sh\nexit 0\n");
        WriteTextFile(m_app + "/Components/AddiTunes.exe", "#!/bin/sh\nexit 0\n");
        m_request = {m_app, m_settings, {}, Settings(m_out), Profile};
        for (const char* name : {"one", "two", "three"})
            m_request.rows.push_back(Row(name, std::string("/videos/") + name + ".avi"));
    }

    std::string m_app = test::MakeTempFolder("app");
    std::string m_settings = test::MakeTempFolder("settings");
    std::string m_out = test::MakeTempFolder("out");
    ConversionRequest m_request;
};

TEST_F(ConversionScriptTest, OneEncoderLinePerRowEachWithItsLibraryLine)
{
    std::vector<std::string> entries;
    PreparedConversion prepared =
        PrepareConversion(m_request, [&](const std::string& e) { entries.push_back(e); });
    ASSERT_TRUE(prepared.scriptWritten);
    EXPECT_EQ(prepared.scriptPath, m_settings + "/Zantrove.bat");
    const auto lines = Lines(ReadTextFile(prepared.scriptPath));
    ASSERT_EQ(lines.size(), 3u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].starts_with("'" + m_settings + "/Zantrove.exe' -i '/videos/")) << lines[i];
        EXPECT_TRUE(lines[i].ends_with("-y '" + prepared.lines[i].outputPath + "'")) << lines[i];
    }
    EXPECT_EQ(ReadTextFile(prepared.scriptPath).find('\r'), std::string::npos);
    EXPECT_TRUE(FileExists(m_settings + "/Zantrove.exe"));
    EXPECT_FALSE(FileExists(m_settings + "/AddiTunes.exe"));
    // With the debug log on: the script and the list are dumped, and each step is entered.
    EXPECT_EQ(ReadTextFile(m_settings + "/Debug1.log"), ReadTextFile(prepared.scriptPath));
    EXPECT_EQ(Lines(ReadTextFile(m_settings + "/Debug3.log"))[0],
              "one | AVC | 00:00:02 | 720x400 |  |  | /videos/one.avi");
    EXPECT_EQ(entries,
              (std::vector<std::string>{"Dump3 will be saved to: \"" + m_settings + "/Debug3.log\".",
                                        "Dump1 will be saved to: \"" + m_settings + "/Debug1.log\".",
                                        "Zantrove Exists=True", "PTGC2 Exists=False", "BAT Exists=True"}));

    // With the library step: its helper is staged, and each output gets its line (the command line's
    // dry run shows where).
    m_request.addToLibrary = true;
    prepared = PrepareConversion(m_request);
    EXPECT_EQ(Lines(ReadTextFile(prepared.scriptPath)).size(), 6u);
    EXPECT_TRUE(FileExists(m_settings + "/AddiTunes.exe"));
    EXPECT_FALSE(FileExists(m_settings + "/pthreadGC2.dll"));

    // A script that cannot be written is reported, and the old one kept.
    m_request.settingsFolder = m_settings + "/not a folder";
    WriteTextFile(m_request.settingsFolder, "a file");
    EXPECT_FALSE(PrepareConversion(m_request).scriptWritten);
    EXPECT_EQ(Lines(ReadTextFile(prepared.scriptPath)).size(), 6u);
}

TEST_F(ConversionScriptTest, HostileNamesReachTheEncoderAsData)
{
    // A stand-in encoder that writes each argument it gets, NUL-separated.
    WriteTextFile(m_app + "/Components/Zantrove.dll",
                  "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done >> \"$0.args\"\n");
    const std::vector<std::string> names{"it's \"quoted\"",   "$(touch pwned)", "`touch pwned2`",
                                         "back\\slash $HOME", "two\nlines",     "Grüße ünd 日本"};
    m_request.rows.clear();
    for (const std::string& name : names)
        m_request.rows.push_back(Row(name, m_out + "/" + name + ".avi"));
    const PreparedConversion prepared = PrepareConversion(m_request);
    ASSERT_TRUE(prepared.scriptWritten);
    const std::string command = "cd '" + m_out + "' && /bin/sh '" + prepared.scriptPath + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string received = ReadTextFile(m_settings + "/Zantrove.exe.args");
    std::vector<std::string> arguments;
    for (std::size_t start = 0, end; (end = received.find('\0', start)) != std::string::npos; start = end + 1)
        arguments.push_back(received.substr(start, end - start));
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(std::ranges::count(arguments, m_out + "/" + names[i] + ".avi"), 1) << names[i];
        EXPECT_EQ(std::ranges::count(arguments, prepared.lines[i].outputPath), 1) << names[i];
    }
    EXPECT_FALSE(std::filesystem::exists(m_out + "/pwned"));
    EXPECT_FALSE(std::filesystem::exists(m_out + "/pwned2"));
    // The same names quoted for a shell to read back.
    const std::string quoted = RenderShellArguments(BuildEncoderArguments(
        Row("It's", "/home/u/It's $HOME `x`; rm -rf.avi"), Settings("/out dir"), Profile, Existing({}), '/'));
    EXPECT_TRUE(quoted.starts_with("-i '/home/u/It'\\''s $HOME `x`; rm -rf.avi' -f mp4 ")) << quoted;
    EXPECT_TRUE(quoted.ends_with(" -y '/out dir/It'\\''s.mp4'")) << quoted;
}

TEST_F(ConversionScriptTest, StagedComponentIsRenewedOnlyWhenItDiffers)
{
    ASSERT_TRUE(StageComponent(m_app, m_settings, "Zantrove.dll", "Zantrove.exe"));
    const std::string staged = m_settings + "/Zantrove.exe";
    struct stat first = {}, second = {};
    ASSERT_EQ(::stat(staged.c_str(), &first), 0);
    EXPECT_TRUE(first.st_mode & S_IXUSR);
    ASSERT_TRUE(StageComponent(m_app, m_settings, "Zantrove.dll", "Zantrove.exe"));
    ::stat(staged.c_str(), &second);
    EXPECT_EQ(first.st_ino, second.st_ino); // left alone
    WriteTextFile(m_app + "/Components/Zantrove.dll", "#!/bin/sh\necho newer\n");
    ASSERT_TRUE(StageComponent(m_app, m_settings, "Zantrove.dll", "Zantrove.exe"));
    EXPECT_EQ(ReadTextFile(staged), "#!/bin/sh\necho newer\n");
    EXPECT_FALSE(StageComponent(m_app, m_settings, "pthreadGC2.dll", "pthreadGC2.dll"));
}

} // namespace
} // namespace zantrove
