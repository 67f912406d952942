// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionProgress.h"
#include "conversion/ConversionScript.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

const std::string kSettingsFolder = "/home/u/.local/share/Quelmar/Zantrove";
const std::string kEcho = "'" + kSettingsFolder + "/Zantrove.exe' -i '/in/a.avi' -y '/out/a.mp4'\n";

ConversionProgress ThreeRows(const char* firstDuration = "00:00:40")
{
    return ConversionProgress(
        {{firstDuration, "/in/a.avi"}, {"00:01:00", "/in/b.avi"}, {"10:00:00", "/in/c.avi"}},
        EncoderLineStart(kSettingsFolder));
}

TEST(ConversionProgressTest, EchoesAdvanceTheFileAndTheTotalBar)
{
    ConversionProgress progress = ThreeRows();
    EXPECT_EQ(progress.TotalMaximum(), 4);
    EXPECT_EQ(progress.CurrentFileText(), "Initializing...");
    EXPECT_TRUE(progress.HandleOutput(kEcho + kEcho)); // one start per piece, however often named
    EXPECT_EQ(progress.FileNumber(), 1);
    EXPECT_EQ(progress.TotalValue(), 1);
    EXPECT_EQ(progress.CurrentMaximum(), 40);
    EXPECT_EQ(progress.CurrentFileText(), "Processing File: 1 of 3...");
    progress.HandleOutput(kEcho);
    progress.HandleOutput(kEcho);
    EXPECT_EQ(progress.TotalValue(), 3);
    EXPECT_EQ(progress.CurrentMaximum(), 36000); // ten hours fit
    progress.HandleEnd();
    EXPECT_EQ(progress.TotalValue(), 4);
    EXPECT_EQ(progress.CurrentValue(), progress.CurrentMaximum());
    EXPECT_EQ(progress.Caption(), "Converting Video Files...Finished!");
    EXPECT_EQ(progress.CancelButtonCaption(), "&Close");
}

struct ProgressCase
{
    const char* name;
    const char* duration;
    const char* piece;
    std::int32_t value;
    std::int32_t maximum;
    const char* caption;
};

class ProgressLineTest : public ::testing::TestWithParam<ProgressCase>
{
};

TEST_P(ProgressLineTest, MovesTheFileBar)
{
    ConversionProgress progress = ThreeRows(GetParam().duration);
    progress.HandleOutput(kEcho);
    progress.HandleOutput(GetParam().piece);
    EXPECT_EQ(progress.CurrentValue(), GetParam().value);
    EXPECT_EQ(progress.CurrentMaximum(), GetParam().maximum);
    EXPECT_EQ(progress.Caption(), GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProgressLineTest,
    ::testing::Values(
        ProgressCase{"Example", "00:00:40",
                     "frame=250 fps=25 q=2.0 size=1024kB time=10.00 bitrate=838.9kbits/s\r", 10, 40,
                     "Converting Video Files...(25%)"},
        ProgressCase{"FractionDropped", "00:00:30", "frame=  1 time=12.84 bitrate= 1.0kbits/s speed=1x\r", 12,
                     30, "Converting Video Files...(40%)"},
        ProgressCase{"TwoDecimals", "00:00:03", "time=1.00 x\r", 1, 3, "Converting Video Files...(33.33%)"},
        ProgressCase{"BeyondDuration", "00:00:40", "time=50.00 bitrate=1\r", 40, 40,
                     "Converting Video Files..."},
        ProgressCase{"ZeroDurationKeepsMaximum", "00:00:00", "time=50.00 bitrate=1\r", 50, 100,
                     "Converting Video Files...(50%)"},
        ProgressCase{"OnlyFirstLineCounts", "00:00:40", "warning\rtime=10.00 x\r", 0, 40,
                     "Converting Video Files..."},
        ProgressCase{"NoValueChangesNothing", "00:00:40", "time is up\r", 0, 40, "Converting Video Files..."},
        ProgressCase{"NoPointChangesNothing", "00:00:40", "time=10 x\r", 0, 40, "Converting Video Files..."}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ConversionProgressTest, ErrorLinesOfTheCurrentFile)
{
    ConversionProgress progress = ThreeRows();
    progress.HandleOutput("/in/a.avi: Invalid data found when processing input\r\n");
    EXPECT_EQ(progress.ErrorLog(), ""); // before the first echo nothing is a file's error
    progress.HandleOutput(kEcho);
    progress.HandleOutput("/in/a.avi: Invalid data found when processing input\n");
    progress.HandleOutput("/in/a.avi: truncated");
    progress.HandleOutput("[swscaler @ 0x1] swScaler: bad size\r");
    progress.HandleOutput("/in/b.avi: not this file\n");
    EXPECT_EQ(progress.ErrorLog(), "-/in/a.avi: Invalid data found when processing input\r\n"
                                   "-/in/a.avi: unknown error\r\n"
                                   "-swScaler: bad size\r\n");
    EXPECT_NE(progress.LogText().find("not this file"), std::string::npos);
}

TEST(ConversionProgressTest, NamesThatSpellTheProgramsOutputAreOnlyData)
{
    const std::string strange = "/in/Zantrove.exe swScaler: x";
    const std::string broken = "/in/two\nswScaler: lines";
    std::vector<EncoderLine> lines;
    for (const std::string& source : {strange, broken})
        lines.push_back({{{"-i"}, {source, true}, {"-y"}, {source + ".mp4", true}}, source + ".mp4"});
    // The script as its shell echoes it, line by line, each echo followed by the file's failure line.
    const std::string script = ConversionScriptText(kSettingsFolder, lines, false);
    const std::size_t second = script.find("\n'" + kSettingsFolder) + 1;
    std::vector<std::string> pieces;
    for (const std::string& part :
         {script.substr(0, second),
          "[mov @ 0x1] file:" + strange + ": Invalid data\n" + strange + ": failed\n", script.substr(second),
          broken + ": failed\n"}) {
        for (std::size_t start = 0, end; start < part.size(); start = end + 1) {
            end = part.find('\n', start);
            pieces.push_back(part.substr(start, end - start + 1));
        }
    }
    ConversionProgress progress({{"00:00:40", strange}, {"00:00:40", broken}},
                                EncoderLineStart(kSettingsFolder));
    for (const std::string& piece : pieces)
        progress.HandleOutput(piece);
    EXPECT_EQ(progress.CurrentFileText(), "Processing File: 2 of 2...");
    EXPECT_EQ(progress.ErrorLog(), "-" + strange + ": failed\r\n-" + broken + ": failed\r\n");
}

TEST(ConversionProgressTest, StatusShowsTheProgressLine)
{
    ConversionProgress progress = ThreeRows();
    progress.HandleOutput(kEcho);
    progress.HandleOutput("frame=  5 fps=0.0 q=2.0 size=1kB time=1.50 bitrate= 1.0kbits/s speed=1x\r");
    EXPECT_EQ(progress.StatusText(),
              "frame=  5 fps=0.0 q=2.0 size=1kB time=1.50 bitrate= 1.0kbits/s speed=1x");
}

TEST(ConversionProgressTest, PercentAndDurationArithmetic)
{
    EXPECT_EQ(ConversionProgress::PercentText(1, 8), "12.5");
    EXPECT_EQ(ConversionProgress::PercentText(1, 2), "50");
    EXPECT_EQ(ConversionProgress::PercentText(2, 3), "66.67");
    EXPECT_EQ(ConversionProgress::DurationSeconds("01:02:03"), 3723);
    EXPECT_EQ(ConversionProgress::DurationSeconds("100:00:00"), 360000);
    EXPECT_EQ(ConversionProgress::DurationSeconds("bad"), 0);
}

} // namespace
} // namespace zantrove
