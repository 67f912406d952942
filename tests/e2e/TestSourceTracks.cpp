// SPDX-License-Identifier: GPL-3.0-or-later
// A film as people rip it, through zantrove-cli convert for every device, trimmed: French
// sound by default and English sound, English and forced French SubRip subtitles, a forced DVD
// subtitle (a white box) and one not forced, chapters, a title and a cover. The output must carry
// all of it, each track marked, the DVD subtitle drawn into the picture where the film shows it.
#include "devices/DeviceCatalog.h"
#include "tests/e2e/PipelineSupport.h"
#include "tests/media/MediaClips.h"
#include "tests/support/CaseName.h"
#include "tests/support/TestHome.h"

#include <gmock/gmock.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace zantrove {
namespace {

// The DVD subtitle's box on the 640x360 source picture.
constexpr int kBoxX = 200, kBoxY = 300, kBoxWidth = 240, kBoxHeight = 40;

// The low eight bits of each value, one byte each.
std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (const int value : values)
        bytes += static_cast<char>(value & 0xFF);
    return bytes;
}

// One DVD subpicture, a white box shown from 1 s to 4 s, in a program stream packet as discs carry
// it: ffmpeg makes picture subtitles only from other picture subtitles.
std::string DvdSubtitleStream()
{
    std::string field; // each line one run "colour 1 to the end of the line"; both fields alike
    for (int line = 0; line < kBoxHeight / 2; ++line)
        field += Bytes({0x00, 0x01});
    const int top = 4, bottom = top + int(field.size()), control = bottom + int(field.size());
    const int x2 = kBoxX + kBoxWidth - 1, y2 = kBoxY + kBoxHeight - 1;
    const std::string show = Bytes({0x03, 0x00,        0x10,
                                    0x04, 0x00,        0xF0,
                                    0x05, kBoxX >> 4,  ((kBoxX & 15) << 4) | (x2 >> 8),
                                    x2,   kBoxY >> 4,  ((kBoxY & 15) << 4) | (y2 >> 8),
                                    y2,   0x06,        top >> 8,
                                    top,  bottom >> 8, bottom,
                                    0x01, 0xFF});
    const int stop = control + 4 + int(show.size()), hide = 3 * 90000 / 1024; // hidden again after 3 s
    const std::string body = field + field + Bytes({0, 0, stop >> 8, stop}) + show +
                             Bytes({hide >> 8, hide, stop >> 8, stop, 0x02, 0xFF});
    const int size = 4 + int(body.size());
    const long long pts = 90000; // 1 s
    const std::string payload =
        Bytes({0x81, 0x80, 5, int(0x21 | ((pts >> 29) & 0x0E)), int(pts >> 22),
               int(0x01 | ((pts >> 14) & 0xFE)), int(pts >> 7), int(0x01 | ((pts << 1) & 0xFE)), 0x20,
               size >> 8, size, control >> 8, control}) +
        body;
    const int length = int(payload.size());
    return Bytes({0,    0,    1,    0xBA, 0x44, 0, 4, 0,    4,           1,
                  0x01, 0x89, 0xC3, 0xF8, 0,    0, 1, 0xBD, length >> 8, length}) +
           payload + Bytes({0, 0, 1, 0xB9});
}

std::string MakeFilm(const std::string& folder)
{
    test::WriteTextFile(folder + "/en.srt", "1\n00:00:00,500 --> 00:00:02,000\nHello there\n\n"
                                            "2\n00:00:03,000 --> 00:00:04,500\nSecond line\n");
    test::WriteTextFile(folder + "/fr.srt", "1\n00:00:01,000 --> 00:00:02,500\nBonjour\n");
    test::WriteTextFile(folder + "/meta.txt",
                        ";FFMETADATA1\ntitle=Film Title\n"
                        "[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=2000\ntitle=Opening\n"
                        "[CHAPTER]\nTIMEBASE=1/1000\nSTART=2000\nEND=5000\ntitle=Ending\n");
    test::WriteTextFile(folder + "/box.mpg", DvdSubtitleStream());
    const test::ScopedCurrentFolder here(folder);
    const bool made =
        test::Ffmpeg("-f lavfi -i color=red:s=640x360 -frames:v 1 cover.png") &&
        test::Ffmpeg(
            "-f lavfi -i color=c=0x808080:s=640x360:r=25:d=5 -f lavfi -i "
            "sine=f=440:d=5 -f lavfi -i sine=f=880:d=5 -i en.srt -i fr.srt -f mpeg -i box.mpg -i meta.txt "
            "-map 0 -map 1 -map 2 -map 3 -map 4 -map 5 -map 5 -map_metadata 6 -map_chapters 6 -attach "
            "cover.png "
            "-metadata:s:t mimetype=image/png -metadata:s:t filename=cover.png -c:v libx264 -preset "
            "ultrafast -c:a aac -c:s:0 srt -c:s:1 srt -c:s:2 copy -c:s:3 copy -metadata:s:a:0 language=eng "
            "-metadata:s:a:1 language=fre -disposition:a:0 0 -disposition:a:1 default "
            "-metadata:s:s:0 language=eng -metadata:s:s:1 language=fre -metadata:s:s:2 language=fre "
            "-disposition:s:0 0 -disposition:s:1 forced -disposition:s:2 forced film.mkv");
    return made ? folder + "/film.mkv" : std::string();
}

std::string Compact(const std::string& path, const std::string& what)
{
    return test::CaptureShell("ffprobe -v error " + what + " -of compact=p=0:nk=1 " + test::ShellQuote(path));
}

// The start of the line of subtitle track n that holds text, in seconds; -1 when none does.
double SubtitleStart(const std::string& path, int track, const std::string& text)
{
    const std::string srt = test::CaptureShell("ffmpeg -nostdin -v error -i " + test::ShellQuote(path) +
                                               " -map 0:s:" + std::to_string(track) + " -f srt -");
    const std::size_t at = srt.find(text);
    const std::size_t arrow = srt.rfind(" --> ", at);
    if (at == std::string::npos || arrow == std::string::npos || arrow < 12)
        return -1;
    int h = 0, m = 0, s = 0, ms = 0;
    std::sscanf(srt.c_str() + arrow - 12, "%d:%d:%d,%d", &h, &m, &s, &ms);
    return h * 3600 + m * 60 + s + ms / 1000.0;
}

// Each track's alternate group and whether it is enabled, from the tkhd boxes in file order.
std::vector<std::pair<int, bool>> TrackGroups(const std::string& path)
{
    const std::string bytes = test::ReadTextFile(path);
    std::vector<std::pair<int, bool>> groups;
    for (std::size_t box = bytes.find("tkhd"); box != std::string::npos; box = bytes.find("tkhd", box + 4)) {
        const std::size_t group = box + 4 + 4 + (bytes[box + 4] == 1 ? 32 : 20) + 8 + 2;
        if (group + 2 > bytes.size())
            break;
        groups.emplace_back((static_cast<unsigned char>(bytes[group]) << 8) |
                                static_cast<unsigned char>(bytes[group + 1]),
                            (bytes[box + 7] & 1) != 0);
    }
    return groups;
}

class SourceTracksTest : public ::testing::TestWithParam<DeviceInfo>
{
protected:
    static void SetUpTestSuite() { s_film = MakeFilm(test::MakeTempFolder("film")); }
    static inline std::string s_film;
};

// Trimmed to 1 s - 4 s, so everything moves a second earlier; the untrimmed run is the other tests'.
TEST_P(SourceTracksTest, SoundSubtitlesChaptersAndCoverComeThroughMarked)
{
    ASSERT_FALSE(s_film.empty()) << "ffmpeg could not make the film";
    const std::string device(GetParam().identifier);
    const test::CliRun run =
        test::Convert(device, test::MakeTempFolder("out"), {"--trim", "00:00:01-00:00:04", s_film});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, ::testing::HasSubstr("zantrove-cli: note: " + s_film +
                                              ": picture subtitle stream 6 (dvd_subtitle) left out: only a "
                                              "forced one is drawn into the picture\n"));
    const std::string path = run.out.substr(0, run.out.find('\n'));

    // Sound: the default French first, then English, both stereo; text: the forced French first.
    EXPECT_EQ(Compact(path,
                      "-select_streams a -show_entries stream=codec_name,channels:stream_disposition=default:"
                      "stream_tags=language"),
              "aac|2|1|fre\naac|2|0|eng\n");
    EXPECT_EQ(Compact(path, "-select_streams s -show_entries stream=codec_name:stream_tags=language"),
              "mov_text|fre\nmov_text|eng\n");
    // The sound tracks are alternatives of one another, apart from the picture, the first enabled.
    const auto groups = TrackGroups(path);
    ASSERT_GE(groups.size(), 5u);
    EXPECT_EQ(groups[1].first, groups[2].first);
    EXPECT_NE(groups[1].first, groups[0].first);
    EXPECT_TRUE(groups[1].second);
    EXPECT_FALSE(groups[2].second);
    EXPECT_TRUE(groups[3].second) << "the forced track is the one shown";
    EXPECT_FALSE(groups[4].second);

    // The line already on screen at the cut is left out.
    EXPECT_NEAR(SubtitleStart(path, 0, "Bonjour"), 0.0, 0.05);
    EXPECT_NEAR(SubtitleStart(path, 1, "Second line"), 2.0, 0.05);
    EXPECT_EQ(SubtitleStart(path, 1, "Hello there"), -1);
    EXPECT_EQ(Compact(path, "-show_chapters -show_entries format_tags=title"),
              "0|1/1000|0|0.000000|1000|1.000000|Opening\n1|1/1000|1000|1.000000|3000|3.000000|Ending\nFilm "
              "Title\n");
    const std::string cover = "-select_streams v -show_entries stream=codec_name,width,height:"
                              "stream_disposition=attached_pic";
    EXPECT_TRUE(Compact(path, cover).ends_with("\nmjpeg|600|338|1\n")) << Compact(path, cover);

    // The forced DVD subtitle at 2 s of the film, where the film shows it within its picture.
    const test::Frames frame = test::Decode(path, "1", 1);
    ASSERT_GT(frame.width * frame.height, 0);
    ASSERT_EQ(frame.bytes.size(), std::size_t(frame.width) * frame.height);
    const test::Box picture = test::BrightBox(frame, 0, 70), box = test::BrightBox(frame, 0, 200);
    ASSERT_FALSE(box.Empty()) << "no subtitle drawn in";
    const double across = picture.Width() / 640.0, down = picture.Height() / 360.0;
    EXPECT_NEAR(box.left, picture.left + kBoxX * across, 3);
    EXPECT_NEAR(box.top, picture.top + kBoxY * down, 3);
    EXPECT_NEAR(box.right + 1, picture.left + (kBoxX + kBoxWidth) * across, 3);
    EXPECT_NEAR(box.bottom + 1, picture.top + (kBoxY + kBoxHeight) * down, 3);
}

INSTANTIATE_TEST_SUITE_P(Devices, SourceTracksTest, ::testing::ValuesIn(kDevices),
                         [](const auto& c) { return test::CaseName(c.param.identifier); });

} // namespace
} // namespace zantrove
