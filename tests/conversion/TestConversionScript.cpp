// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionScript.h"
#include "media/VideoListModel.h"
#include "platform/FileSystem.h"
#include "tests/support/TestHome.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace zantrove {
namespace {
using test::MakeTempFolder;
using test::ReadTextFile;
using test::WriteTextFile;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Profile(std::string_view section, std::string_view key)
{
    if (key == "Extension")
        return section == "aac" ? "m4a" : "mp4";
    return section == "libx264" && key == "VideoFormat" ? "mp4" : "";
}

class ConversionScriptTest : public ::testing::Test
{
protected:
    ConversionScriptTest()
    {
        CreateFolderPath(m_app + "/Components");
        WriteTextFile(m_app + "/Components/Zantrove.dll", "#!/bin/sh\nexit 0\n");
        WriteTextFile(m_app + "/Components/AddiTunes.exe", "#!/bin/sh\nexit 0\n");
        m_request.applicationFolder = m_app;
        m_request.settingsFolder = m_settings;
        m_request.settings.videoCodec = "libx264";
        m_request.settings.videoSize = "320x240";
        m_request.settings.videoBitrate = "768 kbps";
        m_request.settings.frameRate = "25 fps";
        m_request.settings.audioCodec = "aac";
        m_request.settings.audioBitrate = "128 kbps";
        m_request.settings.sampleRate = "44100";
        m_request.settings.channelsIndex = 1;
        m_request.settings.outputFolder = m_out;
        m_request.profile = Profile;
        for (const char* name : {"one", "two", "three"})
            m_request.rows.push_back(Row(name));
    }

    VideoRow Row(const std::string& name, const std::string& path = {})
    {
        VideoRow row;
        row.filename = name;
        row.codec = "AVC";
        row.duration = "00:00:02";
        row.videoSize = "320x240";
        row.filepath = path.empty() ? "/videos/" + name + ".avi" : path;
        return row;
    }

    std::string m_app = MakeTempFolder("app");
    std::string m_settings = MakeTempFolder("settings");
    std::string m_out = MakeTempFolder("out");
    ConversionRequest m_request;
};

TEST_F(ConversionScriptTest, OneEncoderLinePerRowWrittenBeforeAnythingRuns)
{
    const PreparedConversion prepared = PrepareConversion(m_request);
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
    EXPECT_FALSE(FileExists(m_settings + "/pthreadGC2.dll"));
    EXPECT_FALSE(FileExists(m_settings + "/Debug1.log"));
}

TEST_F(ConversionScriptTest, LibraryLinesFollowTheirEncoderLines)
{
    m_request.addToLibrary = true;
    const PreparedConversion prepared = PrepareConversion(m_request);
    const auto lines = Lines(ReadTextFile(prepared.scriptPath));
    ASSERT_EQ(lines.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NE(lines[2 * i].find("Zantrove.exe"), std::string::npos);
        EXPECT_EQ(lines[2 * i + 1], "'" + m_settings + "/AddiTunes.exe' '" + m_out + "/" +
                                        m_request.rows[i].filename + ".mp4'");
        EXPECT_EQ(lines[2 * i + 1].find("Zantrove.exe"), std::string::npos);
    }
    EXPECT_TRUE(FileExists(m_settings + "/AddiTunes.exe"));
}

TEST_F(ConversionScriptTest, HostileNamesReachTheEncoderAsData)
{
    // A stand-in encoder that writes each argument it gets on a line of its own, NUL-separated.
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
        EXPECT_NE(std::find(arguments.begin(), arguments.end(), m_out + "/" + names[i] + ".avi"),
                  arguments.end())
            << names[i];
        EXPECT_NE(std::find(arguments.begin(), arguments.end(), prepared.lines[i].outputPath),
                  arguments.end());
    }
    EXPECT_FALSE(std::filesystem::exists(m_out + "/pwned"));
    EXPECT_FALSE(std::filesystem::exists(m_out + "/pwned2"));
}

TEST_F(ConversionScriptTest, DebugDumpsAndEntries)
{
    std::vector<std::string> entries;
    const PreparedConversion prepared =
        PrepareConversion(m_request, [&](const std::string& e) { entries.push_back(e); });
    EXPECT_EQ(ReadTextFile(m_settings + "/Debug1.log"), ReadTextFile(prepared.scriptPath));
    const auto dump = Lines(ReadTextFile(m_settings + "/Debug3.log"));
    ASSERT_EQ(dump.size(), 3u);
    EXPECT_EQ(dump[0], "one | AVC | 00:00:02 | 320x240 |  |  | /videos/one.avi");
    EXPECT_EQ(entries,
              (std::vector<std::string>{"Dump3 will be saved to: \"" + m_settings + "/Debug3.log\".",
                                        "Dump1 will be saved to: \"" + m_settings + "/Debug1.log\".",
                                        "Zantrove Exists=True", "PTGC2 Exists=False", "BAT Exists=True"}));
}

TEST_F(ConversionScriptTest, StagedComponentIsRenewedOnlyWhenItDiffers)
{
    ASSERT_TRUE(StageComponent(m_app, m_settings, "Zantrove.dll", "Zantrove.exe"));
    const std::string staged = m_settings + "/Zantrove.exe";
    struct stat first
    {
    };
    ASSERT_EQ(::stat(staged.c_str(), &first), 0);
    EXPECT_TRUE(first.st_mode & S_IXUSR);
    ASSERT_TRUE(StageComponent(m_app, m_settings, "Zantrove.dll", "Zantrove.exe"));
    struct stat second
    {
    };
    ::stat(staged.c_str(), &second);
    EXPECT_EQ(first.st_ino, second.st_ino); // left alone

    WriteTextFile(m_app + "/Components/Zantrove.dll", "#!/bin/sh\necho newer\n");
    ASSERT_TRUE(StageComponent(m_app, m_settings, "Zantrove.dll", "Zantrove.exe"));
    EXPECT_EQ(ReadTextFile(staged), "#!/bin/sh\necho newer\n");
    EXPECT_FALSE(StageComponent(m_app, m_settings, "pthreadGC2.dll", "pthreadGC2.dll"));
}

TEST_F(ConversionScriptTest, UnwritableScriptIsReportedAndTheOldOneKept)
{
    WriteTextFile(m_settings + "/Zantrove.bat", "old script\n");
    const std::string blocked = m_settings + "/not a folder";
    WriteTextFile(blocked, "a file");
    m_request.settingsFolder = blocked;
    EXPECT_FALSE(PrepareConversion(m_request).scriptWritten);
    EXPECT_EQ(ReadTextFile(m_settings + "/Zantrove.bat"), "old script\n");
}

} // namespace
} // namespace zantrove
