// SPDX-License-Identifier: GPL-3.0-or-later
// The encoder's arguments for a row, the picture's fit into the target size, the script, the
// preview's line and the output size estimate, without running anything; and what refuses a start:
// an empty list, the codec's limits, and the component's encoder check.
#include "conversion/ConversionScript.h"
#include "conversion/ConversionStart.h"
#include "conversion/EncoderArguments.h"
#include "conversion/EncoderAvailability.h"
#include "conversion/OutputPreview.h"
#include "conversion/OutputSizeEstimate.h"
#include "conversion/PictureGeometry.h"
#include "conversion/ShellWords.h"
#include "devices/EncodingSettingsModel.h"
#include "devices/ProfileFile.h"
#include "devices/VideoSizeEdit.h"
#include "media/AddFilesFlow.h"
#include "media/VideoListModel.h"
#include "platform/FileSystem.h"
#include "tests/devices/ProfileFixture.h"
#include "tests/support/TestHome.h"

#include <algorithm>
#include <array>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/resource.h>
#include <tuple>

namespace zantrove {
namespace {
using test::ReadTextFile;
using test::WriteTextFile;

std::string Profile(std::string_view section, std::string_view key)
{
    static const std::map<std::string, std::string, std::less<>> values{
        {"mpeg4.VideoFormat", "mp4"},
        {"mpeg4.Extension", "mp4"},
        {"aac.Extension", "m4a"},
        {"libx264.VideoFormat", "ipod"},
        {"libx264.Extension", "m4v"},
        {"libx264.ExtraParameters", "-profile:v  baseline -level 3.0 -metadata \"title=A 'B' \\\"C\\\"\""}};
    const auto found = values.find(std::string(section) + "." + std::string(key));
    return found == values.end() ? std::string() : found->second;
}

EncoderSettings Settings(const std::string& outputFolder = "/out")
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

VideoRow Row(const std::string& name = "Holiday", const std::string& path = "/videos/Holiday.avi")
{
    return {name, "AVC", "00:00:02", "720x400", "", "", path, ""};
}

FileExistsTest Existing(std::vector<std::string> paths)
{
    return [paths](const std::string& path) { return std::ranges::count(paths, path) != 0; };
}

// The line for Row() and Settings() after a change, with /out/Holiday.mp4 and Holiday (2).mp4 taken.
template <typename Change> std::string LineAfter(Change change)
{
    VideoRow row = Row();
    EncoderSettings settings = Settings();
    change(row, settings);
    return RenderArgumentLine(BuildEncoderArguments(row, settings, Profile,
                                                    Existing({"/out/Holiday.mp4", "/out/Holiday (2).mp4"})));
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

// A profile's extra parameters are split into words as the shell splits them.
TEST(ShellWordsTest, SplitAsTheShellSplits)
{
    const std::pair<const char*, std::vector<std::string>> table[] = {
        {" -a  b\t", {"-a", "b"}},        {"-vf 'scale=1:2, pad' -x", {"-vf", "scale=1:2, pad", "-x"}},
        {"'it'\"s\" x", {"its", "x"}},    {"\"a \\\"b\\\" \\\\\" c", {"a \"b\" \\", "c"}},
        {"a\\ b '' c", {"a b", "", "c"}}, {"\"\\n\"", {"\\n"}}};
    for (const auto& [text, words] : table)
        EXPECT_EQ(SplitShellWords(text), words) << text;
}

TEST(EncoderLineTest, FollowsTheRowAndTheSettings)
{
    using Row_ = VideoRow&;
    using Set = EncoderSettings&;
    // A taken name is numbered.
    EXPECT_EQ(
        LineAfter([](Row_, Set) {}),
        "-i \"/videos/Holiday.avi\" -f mp4 -vcodec mpeg4 -s 320x178 -padtop 32 -padbottom 30 -b 718kbps "
        "-r 25 -acodec aac -ab 128kbps -ar 44100 -ac 2 -y \"/out/Holiday (3).mp4\"");
    EXPECT_TRUE(Holds(LineAfter([](Row_, Set s) { s.videoOff = true; }),
                      {".avi\" -vn -acodec aac", "-y \"/out/Holiday.m4a\""}));
    EXPECT_TRUE(Holds(LineAfter([](Row_, Set s) { s.audioOff = true, s.keepAspectRatio = false; }),
                      {" -s 320x240 -b 718kbps -r 25 -an -y "}));
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
    EXPECT_TRUE(Holds(LineAfter([](Row_ r, Set) { r.filename.clear(); }), {" -y \"/out/.mp4\""}));
    EXPECT_TRUE(Holds(LineAfter([](Row_ r, Set) { r.filename = "A/B"; }), {"/out/Holiday (3)"}));
    // Extra parameters follow the trim and split as a shell reads them.
    EXPECT_TRUE(Holds(LineAfter([](Row_, Set s) { s.videoCodec = "libx264", s.sameQuality = true; }),
                      {" -f ipod -vcodec libx264 ", "\"/out/Holiday.m4v\"",
                       " -r 25 -sameq -profile:v baseline -level 3.0 -metadata title=A 'B' \"C\" -acodec"}));
    // Quoted for the script's shell.
    EXPECT_TRUE(Holds(RenderShellArguments(BuildEncoderArguments(Row("It's", "/v/It's $HOME.avi"),
                                                                 Settings("/o d"), Profile, Existing({}))),
                      {"-i '/v/It'\\''s $HOME.avi' -f mp4 ", " -ac 2 -y '/o d/It'\\''s.mp4'"}));
}

TEST(FitToTargetSizeTest, GivesSizePadAndCrop)
{
    // Source, target, the fragment joined by blanks.
    const std::array<const char*, 3> table[] = {
        {"720x400", "320x240", "-s 320x178 -padtop 32 -padbottom 30"},
        {"640x480", "320x240", "-s 320x240"},
        {"352x288", "320x240", "-croptop 12 -cropbottom 10 -s 320x240"},
        {"1280x800", "1280x720", "-croptop 40 -cropbottom 40 -s 1280x720"}, // the most cut
        // Two rows off or short: both go on top, so rows stay in pairs.
        {"640x484", "320x240", "-croptop 2 -cropbottom 0 -s 320x240"},
        {"640x476", "320x240", "-s 320x238 -padtop 2 -padbottom 0"},
        // Beyond a strip the whole picture goes in, with bars at the sides.
        {"360x640", "320x240", "-s 134x240 -padleft 94 -padright 92"},
        // A scaled height beyond 16 bits cannot be written: the step is left out.
        {"4x1080", "320x240", ""},
        {"640x0", "320x240", ""},
        {"640x480", "big", ""}};
    for (const auto& [source, target, expected] : table) {
        std::string joined;
        for (const std::string& part : FitToTargetSize(source, target))
            joined += (joined.empty() ? "" : " ") + part;
        EXPECT_EQ(joined, expected) << source << " in " << target;
    }
}

TEST(ConversionScriptTest, OneEncoderLinePerRowEachWithItsLibraryLine)
{
    const std::string app = test::MakeTempFolder("app"), settings = test::MakeTempFolder("settings");
    CreateFolderPath(app + "/Components");
    WriteTextFile(app + "/Components/Zantrove.dll", "#!/bin/sh\nexit 0\n");
    WriteTextFile(app + "/Components/AddiTunes.exe", "#!/bin/sh\nexit 0\n");
    ConversionRequest request{
        app, settings, {Row("one", "/v/one.avi"), Row(), Row()}, Settings("/out"), Profile};
    std::vector<std::string> entries;
    auto prepared = PrepareConversion(request, [&](const std::string& e) { entries.push_back(e); });
    ASSERT_TRUE(prepared);
    // A script of its own, named in the debug log, with dumps of the same unique part.
    const std::string name = prepared->scriptPath.substr(settings.size() + 1);
    const std::string part = name.substr(9, 6);
    ASSERT_EQ(name, "Zantrove-" + part + ".bat");
    EXPECT_EQ(entries.at(0), "Script saved to: \"" + prepared->scriptPath + "\".");
    const std::string script = ReadTextFile(prepared->scriptPath);
    EXPECT_EQ(std::ranges::count(script, '\n'), 3);
    EXPECT_TRUE(script.starts_with("'" + settings + "/Zantrove.exe' -i '/v/one.avi' -f mp4 ")) << script;
    EXPECT_TRUE(FileExists(settings + "/Zantrove.exe"));
    EXPECT_FALSE(FileExists(settings + "/AddiTunes.exe"));
    EXPECT_EQ(ReadTextFile(settings + "/Debug1-" + part + ".log"), script);
    EXPECT_TRUE(ReadTextFile(settings + "/Debug3-" + part + ".log")
                    .starts_with("one | AVC | 00:00:02 | 720x400 |  |  | /v/one.avi\n"));
    EXPECT_EQ(RunDumpPath(prepared->scriptPath, kConsoleDumpStem), settings + "/Debug2-" + part + ".log");
    EXPECT_EQ(entries.size(), 6u);

    // With the library step: its helper is staged, and each output gets its line; a second start
    // never reuses the first one's script.
    request.addToLibrary = true;
    const std::string first = prepared->scriptPath;
    prepared = PrepareConversion(request);
    ASSERT_TRUE(prepared);
    EXPECT_NE(prepared->scriptPath, first);
    EXPECT_EQ(std::ranges::count(ReadTextFile(prepared->scriptPath), '\n'), 6);
    EXPECT_EQ(ReadTextFile(first), script);
    EXPECT_TRUE(FileExists(settings + "/AddiTunes.exe"));

    // Without the library helper to stage, nothing is written: every file would fail alike.
    const std::string bare = request.applicationFolder = test::MakeTempFolder("bare");
    request.settingsFolder = test::MakeTempFolder("settings");
    CreateFolderPath(bare + "/Components");
    WriteTextFile(bare + "/Components/Zantrove.dll", "#!/bin/sh\nexit 0\n");
    prepared = PrepareConversion(request);
    ASSERT_FALSE(prepared);
    EXPECT_EQ(prepared.error().what, bare + "/Components/AddiTunes.exe could not be read");
    request.applicationFolder = app;

    // A staged encoder that differs from the shipped one is renewed.
    WriteTextFile(app + "/Components/Zantrove.dll", "#!/bin/sh\necho newer\n");
    request.settingsFolder = settings;
    ASSERT_TRUE(PrepareConversion(request));
    EXPECT_EQ(ReadTextFile(settings + "/Zantrove.exe"), "#!/bin/sh\necho newer\n");

    // A script that cannot be written whole refuses the start with the reason, and leaves nothing.
    const auto scripts = [&] {
        return std::ranges::count_if(std::filesystem::directory_iterator(settings),
                                     [](const auto& entry) { return entry.path().extension() == ".bat"; });
    };
    const auto before = scripts();
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 8; // the staged encoder is current, so only the script is written
    ::setrlimit(RLIMIT_FSIZE, &tiny);
    prepared = PrepareConversion(request);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    ASSERT_FALSE(prepared);
    EXPECT_EQ(prepared.error().Text(),
              "A conversion script could not be written in " + settings + " (File too large)");
    EXPECT_EQ(scripts(), before);
}

VideoRow PreviewRow(std::string begin = {}, std::string end = {}, std::string codec = "h264")
{
    return {"clip",           std::move(codec), "00:00:10",     "640x272",
            std::move(begin), std::move(end),   "/in/clip.avi", ""};
}

std::string PreviewProfile(std::string_view section, std::string_view key)
{
    return section == "mpeg4" && key == "Extension" ? "mp4" : "";
}

TEST(OutputPreviewTest, TheConversionLineWithAPictureAtTheMoment)
{
    const std::tuple<VideoRow, int, const char*> rows[] = {
        {PreviewRow(), 3,
         "-i \"/in/clip.avi\" -ss 00:00:03 -vcodec mpeg4 -s 320x136 -padtop 52 -padbottom 52 -b 718kbps "
         "-r 25 -acodec aac -ab 128kbps -ar 44100 -ac 2 -y \"/tmp/p.png\""},
        // The trim's start gives way to the moment; its length is left out.
        {PreviewRow("00:00:02", "00:00:08"), 4,
         "-i \"/in/clip.avi\" -vcodec mpeg4 -s 320x136 -padtop 52 -padbottom 52 -b 718kbps -r 25 "
         "-ss 00:00:04 -acodec aac -ab 128kbps -ar 44100 -ac 2 -y \"/tmp/p.png\""},
        {PreviewRow({}, {}, std::string(kUnknownCodec)), 0, "the file has no picture"},
    };
    for (const auto& [row, at, expected] : rows) {
        const auto line = PreviewEncoderLine(row, Settings(), PreviewProfile, at, "/tmp/p.png");
        EXPECT_EQ(line ? RenderArgumentLine(*line) : line.error(), expected);
    }
    EncoderSettings off = Settings();
    off.videoOff = true;
    EXPECT_FALSE(PreviewEncoderLine(PreviewRow(), off, PreviewProfile, 0, "/tmp/p.png"));
    EXPECT_EQ(DefaultPreviewMoment(PreviewRow("00:01:05", "00:02:00")), 65);
    EXPECT_EQ(RenderArgumentLine(SourcePictureLine(PreviewRow(), 7, "/tmp/s.png")),
              "-i \"/in/clip.avi\" -s 640x272 -ss 00:00:07 -y \"/tmp/s.png\"");
    EXPECT_EQ(ShownFrameRate("24000/1001"), "23.976 fps");
    EXPECT_EQ(ShownFrameRate("25"), "25 fps");
}

TEST(OutputPreviewTest, SizeIsTheRatesTimesTheOutputsLength)
{
    // (718 + 128) kbps for 10 s is 1 057 500 bytes, plus 1.2 % and 4 KB for the container.
    const auto same = [](EncoderSettings&) {};
    const struct
    {
        VideoRow row;
        void (*change)(EncoderSettings&);
        std::optional<std::uint64_t> bytes;
    } rows[] = {
        {PreviewRow(), same, 1074286},
        {PreviewRow("00:00:02", "00:00:07"), same, 539191},
        {PreviewRow(), [](EncoderSettings& s) { s.videoOff = true; }, 166016},
        {PreviewRow(), [](EncoderSettings& s) { s.audioOff = true; }, 912366},
        {PreviewRow({}, {}, std::string(kUnknownCodec)), same, 166016},
        {PreviewRow(), [](EncoderSettings& s) { s.sameQuality = true; }, std::nullopt},
        {PreviewRow(), [](EncoderSettings& s) { s.videoBitrate = "32 kbps"; }, 166016},
        {{"clip", "h264", "00:00:00", "640x272", "", "", "/in/clip.avi", ""}, same, std::nullopt},
    };
    std::vector<VideoRow> batch;
    for (const auto& [row, change, bytes] : rows) {
        EncoderSettings settings = Settings();
        change(settings);
        EXPECT_EQ(EstimateOutputBytes(row, settings), bytes) << row.beginTime << " " << settings.videoBitrate;
        batch.push_back(row);
    }
    const BatchSizeEstimate total = EstimateBatchBytes(batch, Settings());
    EXPECT_EQ(total.unknownFiles, 1);
    EXPECT_EQ(total.knownBytes, 1074286u * 5 + 539191u + 166016u);
    EXPECT_EQ(BatchSizeText(total), "about 6.1 MB (and 1 file at same quality or of unknown length)");
    EXPECT_EQ(BatchSizeText(EstimateBatchBytes({batch.front()}, Settings())), "about 1.1 MB");
    EXPECT_EQ(FormatByteSize(850'000), "850 KB");
    EXPECT_EQ(FormatByteSize(1'450'000'000), "1.45 GB");
}

// The refusal's text, or "" when the start may go on.
std::string Refusal(const Verdict& verdict, MessageIcon icon = MessageIcon::Critical)
{
    if (verdict)
        return "";
    EXPECT_EQ(verdict.error().icon, icon);
    return verdict.error().text;
}

TEST(ConversionStartTest, EmptyListThenSizeThenQualityLimits)
{
    // libx264 allows up to the third size and the second rate, libxvid only the first rate; mpeg4
    // and the empty codec have no limits.
    test::ProfileFolder folder;
    folder.Write("iPhone", "[General]\nNumberOfProfiles=1\n[Defaults]\nVideoCodec=libx264|mpeg4|libxvid|\n"
                           "VideoSize=320x240|640x480|1280x720|1920x1080\n"
                           "VideoQuality=500 kbps|1000 kbps|2000 kbps\n[Profile1]\nName=Movie\nVideoCodec=0\n"
                           "VideoSize=0\nVideoQuality=0\n[libx264]\nMaxVideoSize=2\nMaxVideoQuality=1\n"
                           "[libxvid]\nMaxVideoQuality=0\n");
    EncodingSettingsModel settings(folder.Folder());
    settings.SwitchDevice("iPhone");
    const auto check = [&](std::size_t rows = 1) {
        return Refusal(CheckConversionStart(rows, settings, ProfileFileLookup(settings.ProfileFile())),
                       MessageIcon::Exclamation);
    };
    settings.SelectEntry(ChoiceBox::VideoSize, 3);
    settings.SelectEntry(ChoiceBox::VideoBitrate, 2);
    EXPECT_EQ(check(0), "Please, add one or more files to your list first.");
    EXPECT_EQ(check(), "The maximum video size for the selected videocodec is: 1280x720");
    settings.SelectEntry(ChoiceBox::VideoSize, 2);
    const std::string quality = "The maximum video quality for the selected videocodec is: ";
    EXPECT_EQ(check(), quality + "1000 kbps");
    settings.SetChecked(CheckBox::VideoNoVideo, true); // checked with video off too
    EXPECT_EQ(check(), quality + "1000 kbps");
    for (const int codec : {1, 3}) {
        settings.SelectEntry(ChoiceBox::VideoCodec, codec);
        EXPECT_EQ(check(), "") << codec;
    }
    settings.SelectEntry(ChoiceBox::VideoCodec, 2);
    EXPECT_EQ(check(), quality + "500 kbps");
    // Typed into the size dialog, equal to the refused fourth size: no position, so it passes.
    settings.SelectEntry(ChoiceBox::VideoCodec, 0);
    settings.SelectEntry(ChoiceBox::VideoBitrate, 0);
    EXPECT_TRUE(ConfirmVideoSize(settings, {"1920", "1080"}));
    EXPECT_EQ(check(), "");
}

EncoderSettings Codecs(std::string video, std::string audio, bool videoOff = false, bool audioOff = false)
{
    return {videoOff, video, "", false, "", "", false, audioOff, audio, "", "", -1, ""};
}

TEST(EncoderAvailabilityTest, ArgumentsFollowTheRunsSettings)
{
    using Arguments = std::vector<std::string>;
    EXPECT_EQ(EncoderCheckArguments(Codecs("libx264", "aac"), Profile),
              (Arguments{"--check", "-f", "ipod", "-vcodec", "libx264", "-acodec", "aac"}));
    // A codec without a VideoFormat leaves the container to the output's extension.
    EXPECT_EQ(EncoderCheckArguments(Codecs("libvpx", "aac", true), Profile),
              (Arguments{"--check", "-vn", "-acodec", "aac"}));
}

TEST(EncoderAvailabilityTest, TheComponentsAnswerBecomesTheRefusal)
{
    // Components/Zantrove.dll is an empty executable file: only the fake runner answers for it.
    const std::string folder = test::MakeTempFolder("app");
    CreateFolderPath(folder + "/Components");
    test::WriteTextFile(folder + "/Components/Zantrove.dll", "");
    std::filesystem::permissions(folder + "/Components/Zantrove.dll", std::filesystem::perms::owner_all);
    const std::string lacks =
        "video encoder libx264 is missing; it comes with the Debian package libavcodec59";
    // The component's exit status, timeout and output, and what the refusal names after its first line.
    const std::tuple<int, bool, std::string, std::string> answers[] = {
        {0, false, "", ""},
        {1, false, lacks + "\r\nZantrove: audio encoder aac is missing\n\n",
         "The installed ffmpeg lacks what these settings need:\r\n" + lacks +
             "\r\naudio encoder aac is missing"},
        {2, false, "Zantrove: no ffmpeg found\n", "no ffmpeg found"},
        {3, false, "bad\n", "The encoder check failed (status 3)\r\nbad"},
        {0, true, "", "The encoder check did not finish"},
    };
    for (const auto& [exitCode, timedOut, output, named] : answers) {
        const auto runner = [&](const std::string&,
                                const std::vector<std::string>&) -> Expected<CapturedRun, Error> {
            if (timedOut)
                return Unexpected{Error{"stopped", {}, kTimedOutCode}};
            return CapturedRun{exitCode, output};
        };
        const std::string refusal =
            Refusal(CheckEncoderAvailability(folder, Codecs("libx264", "aac"), Profile, runner));
        EXPECT_TRUE(named.empty() ? refusal.empty()
                                  : refusal.starts_with("The conversion could not be started.\r\n" + named))
            << refusal;
    }
    // No "#!" line and no executable format: exec refuses it.
    test::WriteTextFile(folder + "/Components/Zantrove.dll", std::string("\177ELF-not-really", 16));
    EXPECT_TRUE(Holds(Refusal(CheckEncoderAvailability(folder, Codecs("libx264", "aac"), Profile)),
                      {"The encoder component could not be run: "}));
}

} // namespace
} // namespace zantrove
