// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/encoder/EncoderOptions.h"
#include "tools/encoder/SourceStreams.h"

#include <gtest/gtest.h>

namespace zantrove {
namespace {

// ffprobe's compact lines for a ripped film: two sound tracks, the second default; two SubRip tracks,
// the French one forced; a forced DVD subtitle; a cover.
constexpr const char* kFilm =
    "index=0|codec_name=h264|codec_type=video|width=720|height=576|disposition:default=1|"
    "disposition:forced=0|disposition:attached_pic=0\n"
    "index=1|codec_name=ac3|codec_type=audio|width=N/A|height=N/A|disposition:default=0|disposition:forced=0|"
    "disposition:attached_pic=0|tag:language=eng\n"
    "index=2|codec_name=aac|codec_type=audio|disposition:default=1|disposition:forced=0|"
    "disposition:attached_pic=0|tag:language=fre\n"
    "index=3|codec_name=subrip|codec_type=subtitle|disposition:default=0|disposition:forced=0|"
    "disposition:attached_pic=0|tag:language=eng\n"
    "index=4|codec_name=ass|codec_type=subtitle|disposition:default=0|disposition:forced=1|"
    "disposition:attached_pic=0|tag:language=fre\n"
    "index=5|codec_name=dvd_subtitle|codec_type=subtitle|disposition:default=0|disposition:forced=1|"
    "disposition:attached_pic=0|tag:language=fre\r\n"
    "index=6|codec_name=hdmv_pgs_subtitle|codec_type=subtitle|disposition:default=1|disposition:forced=0|"
    "disposition:attached_pic=0|tag:language=und\n"
    "index=7|codec_name=mjpeg|codec_type=video|width=600|height=600|disposition:default=0|"
    "disposition:forced=0|disposition:attached_pic=1\n"
    "tag:title=A Film\n";

std::string Tracks(const std::vector<OutputTrack>& tracks)
{
    std::string text;
    for (const OutputTrack& track : tracks)
        text += std::to_string(track.source) + track.language + (track.isDefault ? "d" : "") +
                (track.forced ? "f" : "") + " ";
    return text;
}

TEST(SourceStreamsTest, PlanKeepsEveryTrackItCanCarry)
{
    struct Row
    {
        std::string answer;
        const char* sound;
        const char* text;
        int burned, cover, notes;
        const char* title;
    };
    std::string nineSounds;
    for (int i = 1; i <= 9; ++i)
        nineSounds += "index=" + std::to_string(i) +
                      "|codec_name=aac|codec_type=audio|disposition:default=" + (i == 9 ? "1" : "0") + "\n";
    const Row rows[] = {
        {kFilm, "2fred 1eng ", "4fref 3eng ", 5, 7, 1, ""},
        // No default sound: the first leads. A default text track comes before a forced one.
        {"index=0|codec_type=video\nindex=1|codec_name=mp3|codec_type=audio\n"
         "index=2|codec_name=ac3|codec_type=audio\n"
         "index=3|codec_name=webvtt|codec_type=subtitle|disposition:forced=1\n"
         "index=4|codec_name=mov_text|codec_type=subtitle|disposition:default=1\n"
         "index=5|codec_type=audio\nindex=6|codec_name=eia_608|codec_type=subtitle",
         "1d 2 ", "4d 3f ", -1, -1, 1, "clip"},
        // The only subtitle a picture one that is not forced: left out, said.
        {"index=0|codec_type=video\nindex=1|codec_name=dvd_subtitle|codec_type=subtitle", "", "", -1, -1, 1,
         "clip"},
        // Nothing to draw a subtitle into.
        {"index=0|codec_name=aac|codec_type=audio\nindex=1|codec_name=dvd_subtitle|codec_type=subtitle|"
         "disposition:forced=1",
         "0d ", "", -1, -1, 1, "clip"},
        {nineSounds, "9d 1 2 3 4 5 6 7 ", "", -1, -1, 1, "clip"},
        {"", "", "", -1, -1, 0, "clip"},
        // The encoder's survey, a line a field: a transport stream's program lists its stream first.
        {"interlaced_frame=0\nindex=1\ncodec_name=aac\ncodec_type=audio\nTAG:language=eng\nindex=1\n"
         "codec_name=aac\ncodec_type=audio\nDISPOSITION:default=1\nTAG:language=ger\nduration=5\n"
         "TAG:title=Film",
         "1gerd ", "", -1, -1, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.answer);
        const StreamPlan plan = PlanStreams(ReadStreamSurvey(row.answer), "clip");
        EXPECT_EQ(Tracks(plan.sound), row.sound);
        EXPECT_EQ(Tracks(plan.text), row.text);
        EXPECT_EQ(plan.burned, row.burned);
        EXPECT_EQ(plan.cover, row.cover);
        EXPECT_EQ(plan.notes.size(), std::size_t(row.notes));
        EXPECT_EQ(plan.title, row.title);
    }
}

std::string Joined(const EncoderRequest& request)
{
    std::string text;
    for (const std::string& word : BuildFfmpegArguments(request))
        text += " " + word;
    return text + " ";
}

TEST(SourceStreamsTest, ArgumentsMapMarkAndDrawTheTracks)
{
    EncoderRequest request = *ParseEncoderArguments({"-i", "in.mkv", "-vcodec", "libx264", "-s", "320x180",
                                                     "-padtop", "30", "-padbottom", "30", "-profile:v",
                                                     "baseline", "-pix_fmt", "yuv420p", "-y", "out.m4v"});
    request.streams = PlanStreams(ReadStreamSurvey(kFilm), "in");
    request.scanFilters = "bwdif=mode=send_frame";
    const std::string full = Joined(request);
    for (const char* expected :
         {" -filter_complex [0:5]scale=720:576[sub];[0:0]bwdif=mode=send_frame[pic];[pic][sub]overlay="
          "eof_action=pass,scale=320:180,pad=320:240:0:30,setsar=1[v] -map [v] -map 0:2 -map 0:1 -map 0:4 "
          "-map 0:3 -map 0:7 -c:v:0 libx264 ",
          " -profile:v:0 baseline -pix_fmt:v:0 yuv420p ",
          " -metadata:s:a:0 language=fre -disposition:a:0 default -metadata:s:a:1 language=eng "
          "-disposition:a:1 0 -c:s mov_text -metadata:s:s:0 language=fre -disposition:s:0 forced ",
          " -disposition:s:1 0 -c:v:1 mjpeg ", " -disposition:v:1 attached_pic -f ipod "}) {
        EXPECT_NE(full.find(expected), std::string::npos) << expected << "\nin" << full;
    }
    EXPECT_EQ(full.find(" -vf "), std::string::npos) << full;

    // Nothing drawn in and no cover: the chain stays a plain -vf, the options unqualified.
    request.streams.burned = -1;
    request.streams.cover = -1;
    const std::string plain = Joined(request);
    EXPECT_NE(
        plain.find(" -map 0:0 -map 0:2 -map 0:1 -map 0:4 -map 0:3 -c:v libx264 -vf bwdif=mode=send_frame,"
                   "scale=320:180,pad=320:240:0:30,setsar=1 "),
        std::string::npos)
        << plain;
    EXPECT_NE(plain.find(" -profile:v baseline -pix_fmt yuv420p "), std::string::npos) << plain;

    // Sound alone keeps the cover, as the only picture stream.
    request.videoOff = true;
    request.streams.cover = 7;
    const std::string sound = Joined(request);
    EXPECT_NE(sound.find(" -map 0:2 -map 0:1 -map 0:7 "), std::string::npos) << sound;
    EXPECT_NE(sound.find(" -c:v:0 mjpeg "), std::string::npos) << sound;
    EXPECT_EQ(sound.find(" -vn "), std::string::npos) << sound;
    EXPECT_EQ(sound.find(" mov_text "), std::string::npos) << sound;
}

} // namespace
} // namespace zantrove
