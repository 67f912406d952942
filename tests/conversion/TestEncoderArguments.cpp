// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/EncoderArguments.h"
#include "media/VideoListModel.h"
#include "platform/FileSystem.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestHome.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace zantrove {
namespace {

// The worked example's profile: mpeg4 writes mp4, no extra parameters.
std::string ExampleProfile(std::string_view section, std::string_view key)
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

EncoderSettings ExampleSettings()
{
    EncoderSettings settings;
    settings.videoCodec = "mpeg4";
    settings.videoSize = "320x240";
    settings.keepAspectRatio = true;
    settings.videoBitrate = "768 kbps";
    settings.frameRate = "25 fps";
    settings.audioCodec = "aac";
    settings.audioBitrate = "128 kbps";
    settings.sampleRate = "44100";
    settings.channelsIndex = 1;
    settings.outputFolder = "D:\\Out";
    return settings;
}

VideoRow ExampleRow()
{
    VideoRow row;
    row.filename = "Holiday";
    row.videoSize = "720x400";
    row.filepath = "C:\\Videos\\Holiday.avi";
    return row;
}

FileExistsTest Existing(std::set<std::string> paths)
{
    return [paths = std::move(paths)](const std::string& path) { return paths.count(path) != 0; };
}

std::string Line(const VideoRow& row, const EncoderSettings& settings,
                 const FileExistsTest& exists = Existing({}))
{
    return RenderArgumentLine(BuildEncoderArguments(row, settings, ExampleProfile, exists, '\\'));
}

TEST(EncoderArgumentsTest, WorkedExampleComesOutVerbatim)
{
    EXPECT_EQ(Line(ExampleRow(), ExampleSettings(), Existing({"D:\\Out\\Holiday.mp4"})),
              "-i \"C:\\Videos\\Holiday.avi\" -f mp4 -vcodec mpeg4 -s 320x178 -padtop 32 -padbottom 30 "
              "-b 718kbps -r 25 -acodec aac -ab 128kbps -ar 44100 -ac 2 -y \"D:\\Out\\Holiday (2).mp4\"");
}

struct SizeCase
{
    const char* source;
    const char* target;
    const char* expected; // the fragment, arguments joined by blanks
};

class FitToTargetSizeTest : public ::testing::TestWithParam<SizeCase>
{
};

TEST_P(FitToTargetSizeTest, GivesSizePadAndCrop)
{
    std::string joined;
    for (const std::string& part : FitToTargetSize(GetParam().source, GetParam().target))
        joined += (joined.empty() ? "" : " ") + part;
    EXPECT_EQ(joined, GetParam().expected) << GetParam().source;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FitToTargetSizeTest,
    ::testing::Values(SizeCase{"720x400", "320x240", "-s 320x178 -padtop 32 -padbottom 30"},
                      SizeCase{"640x272", "320x240", "-s 320x136 -padtop 52 -padbottom 52"},
                      SizeCase{"1280x720", "320x240", "-s 320x180 -padtop 30 -padbottom 30"},
                      SizeCase{"720x480", "320x240", "-s 320x212 -padtop 14 -padbottom 14"},
                      SizeCase{"640x480", "320x240", "-s 320x240"},
                      SizeCase{"720x576", "320x240", "-croptop 8 -cropbottom 8 -s 320x240"},
                      SizeCase{"352x288", "320x240", "-croptop 12 -cropbottom 10 -s 320x240"},
                      // Beyond a strip the whole picture goes in, with bars at the sides: 4:3 into
                      // 16:9, a portrait clip, an upright phone clip as displayed.
                      SizeCase{"768x576", "1280x720", "-s 960x720 -padleft 160 -padright 160"},
                      SizeCase{"1080x1920", "1280x720", "-s 404x720 -padleft 438 -padright 438"},
                      SizeCase{"360x640", "320x240", "-s 134x240 -padleft 94 -padright 92"},
                      SizeCase{"1280x800", "1280x720", "-croptop 40 -cropbottom 40 -s 1280x720"},
                      // A scaled height beyond 16 bits cannot be written: the step is left out.
                      SizeCase{"4x1080", "320x240", ""}, SizeCase{"0x0", "320x240", ""},
                      SizeCase{"640x0", "320x240", ""}, SizeCase{"640x480", "big", ""}),
    [](const auto& row) {
        return test::CaseName(std::string(row.param.source) + "_in_" + row.param.target, row.index);
    });

TEST(EncoderArgumentsTest, VideoOffTakesTheAudioExtensionAndNoVideoOptions)
{
    EncoderSettings settings = ExampleSettings();
    settings.videoOff = true;
    EXPECT_EQ(Line(ExampleRow(), settings), "-i \"C:\\Videos\\Holiday.avi\" -vn -acodec aac -ab 128kbps -ar "
                                            "44100 -ac 2 -y \"D:\\Out\\Holiday.m4a\"");
}

TEST(EncoderArgumentsTest, AudioOffReplacesTheAudioOptions)
{
    EncoderSettings settings = ExampleSettings();
    settings.audioOff = true;
    settings.keepAspectRatio = false;
    EXPECT_EQ(Line(ExampleRow(), settings), "-i \"C:\\Videos\\Holiday.avi\" -f mp4 -vcodec mpeg4 -s 320x240 "
                                            "-b 718kbps -r 25 -an -y \"D:\\Out\\Holiday.mp4\"");
}

TEST(EncoderArgumentsTest, AudioOnlySourceWithKeepAspectGivesNoSize)
{
    VideoRow row = ExampleRow();
    row.videoSize = "0x0";
    EXPECT_EQ(Line(row, ExampleSettings()).find("-s "), std::string::npos);
}

TEST(EncoderArgumentsTest, TrimNeedsBothFields)
{
    VideoRow row = ExampleRow();
    row.beginTime = "00:01:00";
    row.endTime = "00:02:30";
    EXPECT_NE(Line(row, ExampleSettings()).find(" -b 718kbps -r 25 -ss 00:01:00 -t 00:01:30 -acodec"),
              std::string::npos);
    row.endTime.clear();
    EXPECT_EQ(Line(row, ExampleSettings()).find("-ss"), std::string::npos);
}

TEST(EncoderArgumentsTest, BitRateAndChannelArithmetic)
{
    EncoderSettings settings = ExampleSettings();
    settings.videoBitrate = "64 kbps";
    settings.channelsIndex = 0;
    const std::string line = Line(ExampleRow(), settings);
    EXPECT_NE(line.find(" -b 14kbps -r 25 "), std::string::npos);
    EXPECT_NE(line.find(" -ac 1 "), std::string::npos);
    settings.videoBitrate = "1500.5 kbps"; // written with "." in every locale
    EXPECT_NE(Line(ExampleRow(), settings).find(" -b 1450.5kbps "), std::string::npos);
}

TEST(EncoderArgumentsTest, NonNumericBitRateDropsRateAndFrameRateTogether)
{
    EncoderSettings settings = ExampleSettings();
    settings.videoBitrate = "high kbps";
    const std::string line = Line(ExampleRow(), settings);
    EXPECT_EQ(line.find("-b "), std::string::npos);
    EXPECT_EQ(line.find("-r "), std::string::npos);
    EXPECT_NE(line.find("-padbottom 30 -acodec aac"), std::string::npos);
}

TEST(EncoderArgumentsTest, ExtraParametersFollowTrimAndSplitAsAShellReadsThem)
{
    EncoderSettings settings = ExampleSettings();
    settings.videoCodec = "libx264";
    settings.sameQuality = true;
    const EncoderLine line = BuildEncoderArguments(ExampleRow(), settings, ExampleProfile, Existing({}), '/');
    const std::string text = RenderArgumentLine(line);
    EXPECT_NE(text.find("-f ipod -vcodec libx264"), std::string::npos);
    EXPECT_NE(text.find("-r 25 -sameq -profile:v baseline -level 3.0 -metadata title=A 'B' \"C\" -acodec"),
              std::string::npos)
        << text;
    EXPECT_NE(std::find(line.arguments.begin(), line.arguments.end(), EncoderArgument{"title=A 'B' \"C\""}),
              line.arguments.end());
    EXPECT_EQ(line.outputPath, "D:\\Out/Holiday.m4v");
}

TEST(EncoderArgumentsTest, NoChannelChosenGivesNoChannelCount)
{
    EncoderSettings settings = ExampleSettings();
    settings.channelsIndex = -1;
    EXPECT_NE(Line(ExampleRow(), settings).find("-ar 44100 -y "), std::string::npos);
}

TEST(EncoderArgumentsTest, EmptyRowTextGivesDotAndExtension)
{
    VideoRow row = ExampleRow();
    row.filename.clear();
    EXPECT_EQ(BuildEncoderArguments(row, ExampleSettings(), ExampleProfile, Existing({}), '\\').outputPath,
              "D:\\Out\\.mp4");
}

TEST(ChooseOutputPathTest, NumbersTakenNamesButNotFolders)
{
    const std::string folder = test::MakeTempFolder("out");
    test::WriteTextFile(folder + "/Clip.mp4", "x");
    test::WriteTextFile(folder + "/Clip (2).mp4", "x");
    CreateFolderPath(folder + "/Clip (3).mp4");
    EXPECT_EQ(ChooseOutputPath(folder, "Clip", "mp4", FileExists, '/'), folder + "/Clip (3).mp4");
    EXPECT_EQ(ChooseOutputPath(folder, "Other", "mp4", FileExists, '/'), folder + "/Other.mp4");
}

TEST(ChooseOutputPathTest, TwoRowsOfOneRunGetTwoNames)
{
    std::vector<VideoRow> rows{ExampleRow(), ExampleRow(), ExampleRow()};
    const auto lines = BuildEncoderLines(rows, ExampleSettings(), ExampleProfile, Existing({}), '\\');
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].outputPath, "D:\\Out\\Holiday.mp4");
    EXPECT_EQ(lines[1].outputPath, "D:\\Out\\Holiday (2).mp4");
    EXPECT_EQ(lines[2].outputPath, "D:\\Out\\Holiday (3).mp4");
}

TEST(ShellArgumentsTest, QuotesWhatAShellWouldReadOtherwise)
{
    VideoRow row = ExampleRow();
    row.filepath = "/home/u/It's $HOME `x`; rm -rf.avi";
    row.filename = "It's";
    EncoderSettings settings = ExampleSettings();
    settings.outputFolder = "/out dir";
    const std::string text =
        RenderShellArguments(BuildEncoderArguments(row, settings, ExampleProfile, Existing({}), '/'));
    EXPECT_EQ(
        text,
        "-i '/home/u/It'\\''s $HOME `x`; rm -rf.avi' -f mp4 -vcodec mpeg4 -s 320x178 -padtop 32 "
        "-padbottom 30 -b 718kbps -r 25 -acodec aac -ab 128kbps -ar 44100 -ac 2 -y '/out dir/It'\\''s.mp4'");
    EXPECT_EQ(ShellQuote(""), "''");
}

} // namespace
} // namespace zantrove
