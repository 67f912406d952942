// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's encoder line and the output size estimate, without running anything.
#include "conversion/OutputPreview.h"
#include "conversion/OutputSizeEstimate.h"
#include "media/AddFilesFlow.h"
#include "media/VideoListModel.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

EncoderSettings Settings()
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
            .outputFolder = "/out"};
}

VideoRow Row(std::string begin = {}, std::string end = {}, std::string codec = "h264")
{
    return {"clip",           std::move(codec), "00:00:10",     "640x272",
            std::move(begin), std::move(end),   "/in/clip.avi", ""};
}

std::string Profile(std::string_view section, std::string_view key)
{
    return section == "mpeg4" && key == "Extension" ? "mp4" : "";
}

TEST(OutputPreviewTest, TheConversionLineWithAPictureAtTheMoment)
{
    const char* kLine =
        "-i \"/in/clip.avi\" -ss 00:00:0%d -vcodec mpeg4 -s 320x136 -padtop 52 -padbottom 52 -b "
        "718kbps -r 25 -acodec aac -ab 128kbps -ar 44100 -ac 2 -y \"/tmp/p.png\"";
    const struct
    {
        VideoRow row;
        int at;
        const char* expected; // the line, %d standing for the moment,, or the refusal
    } rows[] = {
        {Row(), 3, kLine},
        // The trim's start gives way to the moment; its length is left out.
        {Row("00:00:02", "00:00:08"), 4,
         "-i \"/in/clip.avi\" -vcodec mpeg4 -s 320x136 -padtop 52 -padbottom 52 -b 718kbps -r 25 -ss "
         "00:00:0%d "
         "-acodec aac -ab 128kbps -ar 44100 -ac 2 -y \"/tmp/p.png\""},
        {Row({}, {}, std::string(kUnknownCodec)), 0, "the file has no picture"},
    };
    for (const auto& [row, at, expected] : rows) {
        const auto line = PreviewEncoderLine(row, Settings(), Profile, at, "/tmp/p.png");
        std::string text = expected;
        if (const std::size_t mark = text.find("%d"); mark != std::string::npos)
            text.replace(mark, 2, std::to_string(at));
        EXPECT_EQ(line ? RenderArgumentLine(*line) : line.error(), text);
    }
    EncoderSettings off = Settings();
    off.videoOff = true;
    EXPECT_FALSE(PreviewEncoderLine(Row(), off, Profile, 0, "/tmp/p.png"));
    EXPECT_EQ(DefaultPreviewMoment(Row("00:01:05", "00:02:00")), 65);
    EXPECT_EQ(RenderArgumentLine(SourcePictureLine(Row(), 7, "/tmp/s.png")),
              "-i \"/in/clip.avi\" -s 640x272 -ss 00:00:07 -y \"/tmp/s.png\"");
    EXPECT_EQ(ShownFrameRate("24000/1001"), "23.976 fps");
    EXPECT_EQ(ShownFrameRate("25"), "25 fps");
}

TEST(OutputPreviewTest, SizeIsTheRatesTimesTheOutputsLength)
{
    // (718 + 128) kbps for 10 s is 1 057 500 bytes, plus 1.2 % and 4 KB for the container.
    const struct
    {
        VideoRow row;
        void (*change)(EncoderSettings&);
        std::optional<std::uint64_t> bytes;
    } rows[] = {
        {Row(), [](EncoderSettings&) {}, 1074286},
        {Row("00:00:02", "00:00:07"), [](EncoderSettings&) {}, 539191},
        {Row(), [](EncoderSettings& s) { s.videoOff = true; }, 166016},
        {Row(), [](EncoderSettings& s) { s.audioOff = true; }, 912366},
        {Row({}, {}, std::string(kUnknownCodec)), [](EncoderSettings&) {}, 166016},
        {Row(), [](EncoderSettings& s) { s.sameQuality = true; }, std::nullopt},
        {Row(), [](EncoderSettings& s) { s.videoBitrate = "32 kbps"; }, 166016},
        {[] {
             VideoRow row = Row();
             row.duration = "00:00:00";
             return row;
         }(),
         [](EncoderSettings&) {}, std::nullopt},
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
    EXPECT_EQ(FormatByteSize(850'000), "850 KB");
    EXPECT_EQ(FormatByteSize(1'450'000'000), "1.45 GB");
}

} // namespace
} // namespace zantrove
