// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/encoder/EncoderOptions.h"
#include "tools/encoder/ProgressReport.h"
#include "tools/encoder/SourceScan.h"
#include "tools/encoder/SourceStreams.h"

#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <sstream>
#include <tuple>

namespace zantrove {
namespace {

using Rows = std::vector<std::pair<const char*, const char*>>;

std::string Joined(const EncoderRequest& request)
{
    std::string text;
    for (const std::string& word : BuildFfmpegArguments(request))
        text += " " + word;
    return text + " ";
}

// Each row: the classic arguments, and a run of the ffmpeg arguments they become or the refusal
// (starting with "!").
TEST(EncoderOptionsTest, GivesTheFfmpegArgumentsOrNamesTheProblem)
{
    const Rows rows{
        {"-i in.avi -f mp4 -vcodec mpeg4 -s 320x178 -padtop 32 -padbottom 30 -b 718kbps -r 25 "
         "-acodec aac -ab 128kbps -ar 44100 -ac 2 -y out.mp4",
         "-y -i file:in.avi -map 0:V:0? -map 0:a:0? -c:v mpeg4 -vf scale=320:178,pad=320:240:0:32,"
         "setsar=1 -b:v 718k -fpsmax 25 -fps_mode cfr -c:a aac -b:a 128k -ar 44100 -ac 2 -f mp4 "
         "file:out.mp4.part"},
        {"-i a -croptop 12 -cropbottom 10 -s 320x240 -y o.m4v",
         "-vf scale=320:round(320/dar),crop=320:ih-22:0:12:exact=1,scale=320:240,setsar=1"},
        {"-i a -padtop 10 -padbottom 6 -y b.mov", "-vf pad=iw+0:ih+16:0:10,setsar=1 -f mov"},
        {"-i a -s 134x240 -padleft 94 -padright 92 -an -y o.mp4",
         "-map 0:V:0? -vf scale=134:240,pad=320:240:94:0,setsar=1 -an -f mp4"},
        {"-i a -b 1450.5kbps -ss 00:01:00 -t 00:01:30 -ab 96000 -y o.m4v",
         "-y -ss 00:01:00 -i file:a -t 00:01:30 -map 0:V:0? -map 0:a:0? -b:v 1450.5k -b:a 96000"},
        {"-i a -vcodec libx264 -b 718kbps -sameq -y o.m4v", "-c:v libx264 -crf 18 -f ipod"},
        {"-i a -vcodec mpeg4 -sameq -b 718kbps -y o.mp4", "-c:v mpeg4 -qscale:v 2 -f mp4"},
        {"-i a -sameq -y o.mp4", "-map 0:a:0? -crf 18 -f mp4"},
        {"-i a -vn -s 320x240 -b 700kbps -r 25 -acodec aac -y o.m4a", "-i file:a -map 0:a:0? -vn -c:a aac"},
        {"-i a -profile:v high -level 4.0 -refs 4 -pix_fmt yuv420p -maxrate 8000k -bufsize 16000k "
         "-fps_mode cfr -movflags +faststart -bf 0 -preset fast -tune film -g 250 -y o.m4v",
         "-map 0:a:0? -profile:v high -level 4.0 -refs 4 -pix_fmt yuv420p -maxrate 8000k -bufsize 16000k "
         "-fps_mode cfr -movflags +faststart -bf 0 -preset fast -tune film -g 250 -f ipod"},
        {"-i a -f matroska -y o.part.bin", "-f matroska file:o.part.bin.part"},
        {"-i a -f ipod -vcodec libx264 -s 320x180 -padtop 30 -padbottom 30 -b 718kbps -r 25 -ss 00:00:05 "
         "-t 00:00:10 -profile:v baseline -acodec aac -ab 128kbps -y o.PNG",
         "-y -ss 00:00:05 -i file:a -map 0:V:0 -vf scale=320:180,pad=320:240:0:30,setsar=1 -frames:v 1 "
         "-update 1 -an -c:v png -f image2 file:o.PNG.part"},
        {"-i a -vn -y o.png", "!a picture needs the video; -vn leaves none"},
        {"-i a -deinterlace -y o.mp4", "!unknown option -deinterlace"},
        {"-i a stray -y o.mp4", "!unexpected argument stray"},
        {"-i a -y o.mp4 -an", "!unexpected argument -an after the output file"},
        {"-i a -y", "!missing value for -y"},
        {"-an -y o.mp4", "!no input file (-i)"},
        {"-i a -an", "!no output file (-y)"},
        {"-i a -b fastkbps -y o.mp4", "!bad value for -b: fastkbps"},
        {"-i a -s 320 -y o.mp4", "!bad value for -s: 320"},
        {"-i a -padtop -4 -y o.mp4", "!bad value for -padtop: -4"},
        {"-i a -ss 1:x -y o.mp4", "!bad value for -ss: 1:x"},
        {"-i a -y o.xyz", "!cannot tell the output format of o.xyz; give -f"},
        {"-i a -vn -an -y o.mp4", "!-vn and -an together leave nothing to write"}};
    for (const auto& [classic, expected] : rows) {
        SCOPED_TRACE(classic);
        std::istringstream stream(classic);
        const auto parsed = ParseEncoderArguments({std::istream_iterator<std::string>(stream), {}});
        if (expected[0] == '!') {
            EXPECT_EQ(parsed ? "" : "!" + parsed.error().text, expected);
            continue;
        }
        ASSERT_TRUE(parsed) << parsed.error().text;
        const std::string text = Joined(*parsed);
        EXPECT_TRUE(
            text.starts_with(" -nostdin -hide_banner -loglevel error -nostats -progress pipe:1 -y -"));
        EXPECT_NE(text.find(" " + std::string(expected) + " "), std::string::npos) << text;
    }
}

TEST(EncoderOptionsTest, RatesAndMuxers)
{
    const Rows rates{{"718kbps", "718k"}, {"128 kbps", "128k"}, {"1450.5kbps", "1450.5k"},
                     {"2500k", "2500k"},  {"64K", "64k"},       {"128000", "128000"},
                     {"2Mbps", "2M"}};
    for (const auto& [rate, converted] : rates)
        EXPECT_EQ(ConvertRate(rate), converted);
    for (const char* bad : {"kbps", "1.2.3k", "12 apples"})
        EXPECT_EQ(ConvertRate(bad), std::nullopt) << bad;
    const Rows muxers{{"/a/b.m4v", "ipod"}, {"b.mp4", "mp4"}, {"O.MOV", "mov"}, {"/dir.mp4/noextension", ""}};
    for (const auto& [file, muxer] : muxers)
        EXPECT_EQ(MuxerForFileName(file), muxer);
    // The picture's caller is told the conversion's rate: the ceiling's whole fraction, else the source's.
    const std::vector<std::tuple<const char*, const char*, const char*>> lines{
        {"50", "30", "25"}, {"24000/1001", "30", "24000/1001"}, {"25", "", "25"}, {"", "", "unknown"}};
    for (const auto& [source, ceiling, shown] : lines) {
        EncoderRequest request;
        request.sourceRate = source;
        request.frameRate = ceiling;
        EXPECT_EQ(FrameRateLine(request), std::string("Zantrove: frame rate ") + shown);
    }
}

// idet's printout for frames frames, a field repeated in each frame of repeats, and its last verdicts.
std::string FieldPrintout(int frames, const std::vector<int>& repeats, int tff, int bff, int progressive)
{
    std::string text;
    for (int frame = 0; frame < frames; ++frame)
        text += "frame:" + std::to_string(frame) + " pts:0 pts_time:0\nlavfi.idet.repeated.current_frame=" +
                (std::find(repeats.begin(), repeats.end(), frame) != repeats.end() ? "top" : "neither") +
                "\n";
    return text + "lavfi.idet.multiple.tff=" + std::to_string(tff) +
           ".00\nlavfi.idet.multiple.bff=" + std::to_string(bff) +
           ".00\nlavfi.idet.multiple.progressive=" + std::to_string(progressive) + ".00\n";
}

// Each row: ffprobe's flags, idet's printout when the flags call for one (empty: they must not), and
// what the conversion gets under a 30 fps ceiling: the filters and the rate (the ceiling unless given).
TEST(SourceScanTest, FlagsAndPicturesDecideFiltersAndRate)
{
    std::vector<int> cadence; // two repeated fields every five frames, at the same places
    for (int frame = 2; frame < 150; frame += 5)
        cadence.insert(cadence.end(), {frame, frame + 2});
    const std::string flaggedFilm =
        "field_order=progressive\nr_frame_rate=30000/1001\navg_frame_rate=24000/1001\n"
        "interlaced_frame=0\nrepeat_pict=1\ninterlaced_frame=0\nrepeat_pict=0\n";
    struct Row
    {
        const char* what;
        std::string flags, pictures, filters, rate = "30";
    };
    const Row rows[] = {
        {"1080i camcorder", "field_order=tt\nr_frame_rate=25/1\navg_frame_rate=25/1\ninterlaced_frame=1\n",
         FieldPrintout(150, {}, 140, 0, 2), "bwdif=mode=send_frame:parity=tff:deint=all"},
        {"PAL DV, order flag wrong", "field_order=tt\nr_frame_rate=25/1\navg_frame_rate=25/1\n",
         FieldPrintout(150, {}, 3, 120, 20), "bwdif=mode=send_frame:parity=bff:deint=all"},
        {"progressive flagged interlaced", "field_order=bb\nr_frame_rate=25/1\navg_frame_rate=25/1\n",
         FieldPrintout(150, {}, 2, 6, 140), ""},
        {"too few frames to overrule the flags", "field_order=bb\nr_frame_rate=25/1\navg_frame_rate=25/1\n",
         FieldPrintout(10, {}, 0, 0, 10), "bwdif=mode=send_frame:parity=bff:deint=all"},
        {"NTSC film with pulldown", "field_order=tt\nr_frame_rate=30000/1001\navg_frame_rate=30000/1001\n",
         FieldPrintout(150, cadence, 60, 0, 90),
         "fieldmatch=order=tff:combmatch=full,bwdif=mode=send_frame:parity=tff:deint=interlaced,decimate"},
        {"29.97 camcorder, not film", "field_order=bb\nr_frame_rate=30000/1001\navg_frame_rate=30000/1001\n",
         FieldPrintout(150, {3, 40, 41, 77, 100}, 0, 150, 0), "bwdif=mode=send_frame:parity=bff:deint=all"},
        {"soft pulldown", flaggedFilm, "", "fps=24000/1001"},
        {"repeated fields in interlaced frames are no soft pulldown",
         "r_frame_rate=30000/1001\navg_frame_rate=30000/"
         "1001\ninterlaced_frame=1\ntop_field_first=1\nrepeat_pict=1\n",
         FieldPrintout(10, {}, 0, 0, 10), "bwdif=mode=send_frame:parity=tff:deint=all"},
        {"no order in the stream, frames flagged bottom first",
         "r_frame_rate=25/1\navg_frame_rate=25/1\ninterlaced_frame=1\ntop_field_first=0\n",
         FieldPrintout(10, {}, 0, 0, 10), "bwdif=mode=send_frame:parity=bff:deint=all"},
        {"1080p50", "field_order=progressive\nr_frame_rate=50/1\navg_frame_rate=50/1\n", "", "fps=25", "25"},
        {"variable rate", "field_order=progressive\nr_frame_rate=90000/1\navg_frame_rate=59/2\n", "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const StreamFlags flags = ReadStreamFlags(row.flags);
        ASSERT_EQ(NeedsPictureCheck(flags), !row.pictures.empty());
        const ScanDecision scan = DecideScan(
            flags, row.pictures.empty() ? std::nullopt : std::optional(ReadFieldStatistics(row.pictures)));
        const FrameRate rate = ProgressiveRate(flags, scan);
        EncoderRequest request;
        request.input = "a";
        request.output = "o.m4v";
        request.frameRate = "30";
        request.scanFilters = ScanFilters(scan, rate);
        request.sourceRate = rate.Known() ? rate.Text() : "";
        const std::string text = Joined(request);
        EXPECT_NE(text.find(row.filters.empty() ? " -fpsmax" : " -vf " + row.filters + " -fpsmax"),
                  std::string::npos)
            << text;
        EXPECT_EQ(row.filters.empty(), text.find(" -vf ") == std::string::npos) << text;
        EXPECT_NE(text.find(" -fpsmax " + row.rate + " -fps_mode cfr"), std::string::npos) << text;
    }
}

// One answer for the whole source: frames first, then the streams; a cover picture is no picture stream.
TEST(SourceScanTest, TheSurveyFindsThePictureStreamAndTheDefaultSoundTrack)
{
    const auto video = [](const std::string& order, const std::string& rate, int picture) {
        static int index = 0;
        return "index=" + std::to_string(index++) + "\ncodec_type=video\nfield_order=" + order +
               "\nr_frame_rate=" + rate +
               "\navg_frame_rate=25/1\nDISPOSITION:default=0\nDISPOSITION:attached_pic=" +
               std::to_string(picture) + "\n";
    };
    const auto audio = [](int isDefault) {
        static int index = 100;
        return "index=" + std::to_string(index++) +
               "\ncodec_type=audio\nr_frame_rate=0/0\navg_frame_rate=0/0\nDISPOSITION:default=" +
               std::to_string(isDefault) + "\nDISPOSITION:attached_pic=0\n";
    };
    const std::string frames = "interlaced_frame=1\ntop_field_first=0\nrepeat_pict=0\n";
    SourceSurvey survey = ReadSourceSurvey(frames + frames + video("progressive", "90000/1", 1) + audio(0) +
                                           video("bb", "25/1", 0) + audio(1) + audio(1));
    EXPECT_EQ(survey.video.fieldOrder, "bb");
    EXPECT_EQ(survey.video.rate.Text(), "25");
    EXPECT_EQ(survey.video.frames, 2);
    EXPECT_EQ(survey.video.interlacedFrames, 2);
    EXPECT_EQ(survey.audioTrack, 1);
    // The frames the picture check reads, by the length (none: not known).
    for (const auto& [length, count] :
         {std::pair{"", 150}, {"duration=3600.000\n", 150}, {"duration=60.0\n", 75}, {"duration=2\n", 30}})
        EXPECT_EQ(FramesToCheck(ReadSourceSurvey(video("tt", "25/1", 0) + length)), count) << length;
    // A transport stream's program lists its streams first, in an order of its own.
    const std::string listed = "index=7\ncodec_type=audio\nDISPOSITION:default=1\n";
    survey = ReadSourceSurvey(listed + "index=6\ncodec_type=audio\nDISPOSITION:default=0\n" + listed);
    EXPECT_EQ(survey.audioTrack, 1);
    survey = ReadSourceSurvey(audio(0) + audio(0));
    EXPECT_EQ(survey.audioTrack, 0);
    EXPECT_FALSE(survey.video.rate.Known());
}

TEST(SourceScanTest, AFasterRateComesDownToAWholeFraction)
{
    // A slower source, or one whose fraction would be too slow, keeps the ceiling.
    const Rows rates{
        {"50", "25"}, {"60000/1001", "30000/1001"}, {"60", "30"}, {"100", "25"}, {"120", "30"}, {"35", "30"},
        {"25", "30"}};
    for (const auto& [source, ceiling] : rates)
        EXPECT_EQ(RateCeiling(ReadFrameRate(source).value_or(FrameRate{}), "30"), ceiling) << source;
    EXPECT_EQ(RateCeiling(FrameRate{0, 1}, "30"), "30");
    EXPECT_EQ(RateCeiling(FrameRate{25, 1}, "15"), "25/2");
    EXPECT_EQ(ReadFrameRate("29.970030").value_or(FrameRate{}).Text(), "2997003/100000");
    for (const char* bad : {"", "0", "x", "25/", "2.", "1/0", "29.9700300"})
        EXPECT_EQ(ReadFrameRate(bad), std::nullopt) << bad;
}

TEST(ProgressReportTest, BlocksBecomeStatusLines)
{
    ProgressReader reader;
    // Pieces cut in the middle of lines, as a pipe delivers them.
    EXPECT_TRUE(reader.Feed("frame=250\nfps=25.00\nstream_0_0_q=2.0\nbitrate= 838.9kbi").empty());
    auto blocks =
        reader.Feed("ts/s\ntotal_size=1048576\nout_time_us=10000000\nout_time_ms=10000000\n"
                    "out_time=00:00:10.000000\nspeed=1.02x\nprogress=continue\nframe=0\nfps=0.00\n");
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(FormatProgressLine(blocks[0]),
              "frame=  250 fps= 25 q=2.0 size=    1024kB time=10.00 bitrate= 838.9kbits/s speed=1.02x\r");
    // Unknown values, and the end; the reader of these lines needs seconds with "." and a blank.
    blocks = reader.Feed("bitrate=N/A\ntotal_size=N/A\nout_time_us=N/A\nspeed=N/A\nprogress=continue\n"
                         "frame=3\nout_time_us=-23220\nprogress=end\n");
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(FormatProgressLine(blocks[0]),
              "frame=    0 fps=0.0 q=-1.0 size=N/A time=0.00 bitrate=N/A speed=N/A\r");
    EXPECT_FALSE(blocks[0].end);
    EXPECT_TRUE(blocks[1].end);
    EXPECT_EQ(blocks[1].seconds, 0.0);
    EXPECT_TRUE(std::regex_search(FormatProgressLine(blocks[1]), std::regex(" time=[0-9]+\\.[0-9]+ ")));
}

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
          " -disposition:s:1 0 -c:v:1 mjpeg ", " -disposition:v:1 attached_pic -f ipod "})
        EXPECT_NE(full.find(expected), std::string::npos) << expected << "\nin" << full;
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
