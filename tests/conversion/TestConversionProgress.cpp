// SPDX-License-Identifier: GPL-3.0-or-later
// What the processing window shows: the bars read from the script's output and the time left; and
// which processes its cancel ends (the real ones are ended in the window's and the CLI's tests).
#include "conversion/BatchTimeEstimate.h"
#include "conversion/ConversionProgress.h"
#include "conversion/ConversionRun.h"
#include "conversion/ConversionScript.h"
#include "conversion/ProcessTermination.h"
#include "conversion/ProgressTexts.h"
#include "media/VideoListModel.h"
#include "tests/support/FoldersOnlyPlatform.h"

#include <gtest/gtest.h>
#include <tuple>
#include <unistd.h>

namespace zantrove {
namespace {
using namespace std::chrono_literals;

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
    EXPECT_TRUE(progress.HandleOutput(kEcho + kEcho)); // one start per piece, however often named
    EXPECT_EQ(progress.TotalValue(), 1);
    EXPECT_EQ(progress.CurrentMaximum(), 40);
    const std::string status = "frame=  5 fps=0.0 q=2.0 size=1kB time=1.50 bitrate= 1.0kbits/s speed=1x";
    progress.HandleOutput(status + "\r");
    EXPECT_EQ(ProgressTexts(progress).Status(), status);
    progress.HandleOutput(kEcho);
    progress.HandleOutput(kEcho);
    EXPECT_EQ(progress.TotalValue(), 3);
    EXPECT_EQ(progress.CurrentMaximum(), 36000); // ten hours fit
    progress.HandleEnd();
    EXPECT_EQ(progress.TotalValue(), 4);
    EXPECT_EQ(progress.CurrentValue(), progress.CurrentMaximum());
    EXPECT_EQ(ConversionProgress::DurationSeconds("596523:14:07"), INT32_MAX); // the largest that fits
    EXPECT_EQ(ConversionProgress::DurationSeconds("596523:14:08"), 0);
    EXPECT_EQ(ConversionProgress::DurationSeconds("bad"), 0);
}

TEST(ConversionProgressTest, ProgressLinesMoveTheFileBar)
{
    // The first file's duration, the piece after its echo, the bar's value and maximum, the exact
    // seconds the file's bar shows, the caption.
    const std::tuple<const char*, const char*, int, int, double, const char*> cases[] = {
        {"00:00:40", "frame=250 fps=25 q=2.0 size=1024kB time=10.00 bitrate=838.9kbits/s\r", 10, 40, 10,
         "(25%)"},
        {"00:00:30", "frame=  1 time=12.84 bitrate= 1.0kbits/s speed=1x\r", 12, 30, 12.84, "(40%)"},
        {"00:00:03", "time=0.90 x\r", 0, 3, 0.9, "(0%)"},
        {"00:00:40", "time=50.00 bitrate=1\r", 40, 40, 40, ""},       // beyond the duration
        {"00:00:00", "time=50.00 bitrate=1\r", 50, 100, 50, "(50%)"}, // no duration keeps the maximum
        {"00:00:40", "warning\rtime=10.00 x\r", 0, 40, 0, ""},        // only the first line counts
        {"00:00:40", "time=10 x\r", 0, 40, 0, ""},
    };
    for (const auto& [duration, piece, value, maximum, seconds, caption] : cases) {
        SCOPED_TRACE(piece);
        ConversionProgress progress = ThreeRows(duration);
        progress.HandleOutput(kEcho);
        progress.HandleOutput(piece);
        EXPECT_EQ(progress.CurrentValue(), value);
        EXPECT_EQ(progress.CurrentMaximum(), maximum);
        EXPECT_DOUBLE_EQ(progress.CurrentSeconds(), seconds);
        EXPECT_EQ(ProgressTexts(progress).Caption(), std::string("Converting Video Files...") + caption);
    }
}

// Each stage's words; the title keeps the last file's percent until the next file's first reading.
TEST(ProgressTextsTest, FollowTheRunFromItsStartToItsEnd)
{
    ConversionProgress progress = ThreeRows();
    const ProgressTexts texts(progress);
    const auto shown = [&texts] {
        return texts.Caption() + "|" + texts.CurrentFile() + "|" + texts.Status() + "|" +
               std::string(texts.ButtonCaption()) + "|" + texts.FilePercent();
    };
    EXPECT_EQ(shown(), "Converting Video Files...|Initializing...|Initializing...|&Cancel|0");
    progress.HandleOutput(kEcho);
    progress.HandleOutput("time=10.00 x\r");
    EXPECT_EQ(shown(), "Converting Video Files...(25%)|Processing File: 1 of 3...|time=10.00 x|&Cancel|25");
    progress.HandleOutput(kEcho);
    EXPECT_EQ(shown(), "Converting Video Files...(25%)|Processing File: 2 of 3...|time=10.00 x|&Cancel|0");
    progress.HandleEnd();
    EXPECT_EQ(shown(), "Converting Video Files...Finished!|Finished!|time=10.00 x|&Close|100");
    EXPECT_EQ(ProgressTexts::PercentText(1, 3), "33.33");
    EXPECT_EQ(ProgressTexts::PercentText(5, 0), "0"); // a file of unknown length
}

TEST(ConversionProgressTest, ErrorLinesOfTheCurrentFile)
{
    ConversionProgress progress = ThreeRows();
    progress.HandleOutput("/in/a.avi: Invalid data found when processing input\r\n");
    EXPECT_EQ(progress.ErrorLog(), ""); // before the first echo nothing is a file's error
    for (const char* piece :
         {kEcho.c_str(), "/in/a.avi: Invalid data found when processing input\n", "/in/a.avi: truncated",
          "[swscaler @ 0x1] swScaler: bad size\r", "/in/b.avi: not this file\n"})
        progress.HandleOutput(piece);
    EXPECT_EQ(progress.ErrorLog(), "-/in/a.avi: Invalid data found when processing input\r\n"
                                   "-/in/a.avi: unknown error\r\n-swScaler: bad size\r\n");
    EXPECT_NE(progress.LogText().find("not this file"), std::string::npos);
}

class FakeClock : public Clock
{
public:
    std::chrono::system_clock::time_point Now() const override { return now; }
    std::chrono::system_clock::time_point now{std::chrono::hours(1000)};
};

TEST(BatchTimeEstimateTest, WeighsFilesByTheirLengthFromTheSecondReading)
{
    FakeClock clock;
    BatchTimeEstimate estimate({10, 90, 100}, clock);
    estimate.Start();
    EXPECT_EQ(estimate.Text(), "Elapsed: 00:00:00 - Time left: Estimating...");
    clock.now += 4s;
    estimate.Progress(1, 8);
    EXPECT_FALSE(estimate.Remaining());
    clock.now += 4s;
    estimate.Progress(2, 10);             // file 1 done whole (10) + 10 of file 2: 20 in 8 s
    EXPECT_EQ(estimate.Remaining(), 72s); // 180 left at 2.5 per second
    EXPECT_EQ(estimate.Text(), "Elapsed: 00:00:08 - Time left: 00:01:12");
    clock.now += 2s; // no new reading: the wait counts against what is left
    EXPECT_EQ(estimate.Remaining(), 70s);
    estimate.Progress(2, 200); // beyond the file counts only the file: 100 in 10 s, 100 left
    EXPECT_EQ(estimate.Remaining(), 10s);
    estimate.Finish();
    EXPECT_EQ(estimate.Remaining(), 0s);
    clock.now += 30s;
    EXPECT_EQ(estimate.Elapsed(), 10s); // stops at the end
    // A trimmed row weighs its trimmed length.
    const auto row = [](std::string begin, std::string end) {
        return VideoRow{"", "", "00:10:00", "", begin, end, "", ""};
    };
    EXPECT_EQ(
        BatchTimeEstimate::OutputSeconds({row("", ""), row("00:01:00", "00:02:30"), row("00:05:00", "")}),
        (std::vector<std::int32_t>{600, 90, 600}));
}

TEST(ConversionRunTest, ASilentEncoderIsNamedOnceTheLimitHasPassedWhileTheElapsedTimeRuns)
{
    FakeClock clock;
    ConversionRun run({{"00:00:40", "/in/a.avi"}}, kSettingsFolder + "/Zantrove-abcdef.bat", {40}, clock);
    run.Start();
    clock.now += 29s;
    EXPECT_EQ(run.SilenceText(), "");
    EXPECT_TRUE(run.TimeEstimate().Text().starts_with("Elapsed: 00:00:29")) << run.TimeEstimate().Text();
    clock.now += 1s;
    EXPECT_EQ(run.SilenceText(), "Nothing has been heard from the encoder for 00:00:30.");
    run.HandleOutput("frame=1\n");
    EXPECT_EQ(run.Silence(), 0s);
    clock.now += 45s;
    EXPECT_EQ(run.Silence(), 45s);
    run.HandleEnd();
    EXPECT_EQ(run.SilenceText(), "");
}

// A process table of our own; records what would have been ended, and may refuse to end anything.
class FakeProcessPlatform : public test::FoldersOnlyPlatform
{
public:
    FakeProcessPlatform() : FoldersOnlyPlatform(Platform::Instance()) {}
    std::vector<ProcessEntry> processes;
    std::vector<int> terminated;
    bool refuse = false;

    std::vector<ProcessEntry> ListProcesses() const override { return processes; }
    bool TerminateProcess(int pid) override { return terminated.push_back(pid), !refuse; }
};

TEST(ProcessTerminationTest, EndsEveryMatchOfItsGroupByTheEndOfTheNameInAnyCaseOnceAndNeverItself)
{
    FakeProcessPlatform platform;
    platform.processes = {
        {101, "Zantrove.exe", "/a/Zantrove.exe", 7},
        {102, "MyZantrove.EXE", "", 7},
        // The kernel cut the name at 15 characters; the executable still carries it whole.
        {103, "VeryLongPrefixZ", "/tmp/VeryLongPrefixZantrove.exe (deleted)", 7},
        {::getpid(), "Zantrove.exe", "/b/Zantrove.exe", 7},
        {201, "Zantrove.exe.ba", "/tmp/Zantrove.exe.bak", 7},
        {202, "Zantrove", "/usr/bin/Zantrove", 7},
        {203, "antrove.exe", "/tmp/antrove.exe", 7},
        {204, "sh", "/usr/bin/Zantrove.exe.sh", 7},
        {205, "Zantrove.exe", "/a/Zantrove.exe", 8}, // the encoder of a run beside it
        {206, "Zantrove.exe", "/a/Zantrove.exe", 0},
    };
    EXPECT_EQ(TerminateProcessByName(platform, "zantrove.exe", 7), 3);
    EXPECT_EQ(platform.terminated, (std::vector<int>{101, 102, 103}));
    // An empty name or no group ends nothing; a process that cannot be ended is not counted.
    EXPECT_EQ(TerminateProcessByName(platform, "", 7) + TerminateProcessByName(platform, "Zantrove.exe", -1) +
                  TerminateProcessByName(platform, "Zantrove.exe", 0),
              0);
    EXPECT_EQ(platform.terminated.size(), 3u);
    platform.refuse = true;
    EXPECT_EQ(TerminateProcessByName(platform, "Zantrove.exe", 7), 0);
    EXPECT_EQ(platform.terminated.size(), 6u);
}

} // namespace
} // namespace zantrove
