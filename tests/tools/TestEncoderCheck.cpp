// SPDX-License-Identifier: GPL-3.0-or-later
// The check mode's window-free logic on listings as Debian 12's ffmpeg 5.1 prints them.
#include "tools/encoder/EncoderCheck.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace zantrove {
namespace {

// Cut from "ffmpeg -hide_banner -encoders" (some descriptions shortened), legend included: its
// lines look like entries.
constexpr const char* kEncoders = R"(Encoders:
 V..... = Video
 A..... = Audio
 S..... = Subtitle
 .F.... = Frame-level multithreading
 ..S... = Slice-level multithreading
 ...X.. = Codec is experimental
 ....B. = Supports draw_horiz_band
 .....D = Supports direct rendering method 1
 ------
 V....D a64multi             Multicolor charset for Commodore 64 (codec a64_multi)
 V....D libx264              libx264 H.264 / AVC / MPEG-4 AVC (codec h264)
 V....D libx264rgb           libx264 H.264 / AVC / MPEG-4 AVC RGB (codec h264)
 V.S... mpeg4                MPEG-4 Visual
 V..... msmpeg4              MPEG-4 Visual Microsoft variant version 3 (codec msmpeg4v3)
 A..... aac                  AAC (Advanced Audio Coding)
 A....D libmp3lame           libmp3lame MP3 (MPEG audio layer 3) (codec mp3)
 S..... mov_text             3GPP Timed Text subtitle
)";

// Cut from "ffmpeg -hide_banner -muxers", with the names ffmpeg gives as a comma list.
constexpr const char* kMuxers = R"(File formats:
 D. = Demuxing supported
 .E = Muxing supported
 --
  E 3g2             3GP2 (3GPP2 file format)
  E 3gp             3GP (3GPP file format)
  E adts            ADTS AAC (Advanced Audio Coding)
  E ipod            iPod H.264 MP4 (MPEG-4 file)
  E mp4             MP4 (MPEG-4 file)
  E sdl,sdl2        SDL2 output device
  E stream_segment,ssegment streaming segment muxer
)";

// "-formats" marks muxing with the second letter; demux-only lines must not count.
constexpr const char* kFormats = R"(File formats:
 D. = Demuxing supported
 .E = Muxing supported
 --
 D  aa              Audible AA format files
 DE mov,mp4,m4a,3gp,3g2,mj2 QuickTime / MOV
  E ipod            iPod H.264 MP4 (MPEG-4 file)
)";

bool Listed(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(EncoderCheckTest, EncoderListingSkipsTheLegendAndKeepsKindAndCodec)
{
    const std::vector<ListedEncoder> encoders = ParseEncoderListing(kEncoders);
    ASSERT_EQ(encoders.size(), 8u);
    EXPECT_EQ(encoders[0].name, "a64multi");
    EXPECT_EQ(encoders[0].codec, "a64_multi");
    EXPECT_EQ(encoders[1].kind, 'V');
    EXPECT_EQ(encoders[1].name, "libx264");
    EXPECT_EQ(encoders[1].codec, "h264");
    EXPECT_EQ(encoders[3].name, "mpeg4");
    EXPECT_EQ(encoders[3].codec, "mpeg4"); // no "(codec ...)": the name is the codec
    EXPECT_EQ(encoders[5].kind, 'A');
    EXPECT_EQ(encoders[5].name, "aac");
    EXPECT_EQ(encoders[6].codec, "mp3");
    EXPECT_EQ(encoders[7].kind, 'S');
}

TEST(EncoderCheckTest, ListingWithoutItsDashLineHasNoEntries)
{
    EXPECT_TRUE(ParseEncoderListing(" V....D libx264  libx264 H.264\n").empty());
    EXPECT_TRUE(ParseEncoderListing("").empty());
    EXPECT_TRUE(ParseMuxerListing("  E mp4  MP4\n").empty());
}

TEST(EncoderCheckTest, MuxerListingSplitsCommaNames)
{
    const std::vector<std::string> muxers = ParseMuxerListing(kMuxers);
    EXPECT_EQ(muxers.size(), 9u);
    for (const char* name :
         {"3g2", "3gp", "adts", "ipod", "mp4", "sdl", "sdl2", "stream_segment", "ssegment"})
        EXPECT_TRUE(Listed(muxers, name)) << name;
    EXPECT_FALSE(Listed(muxers, "E"));
    EXPECT_FALSE(Listed(muxers, "Muxing"));
}

TEST(EncoderCheckTest, FormatsListingCountsOnlyWhatWrites)
{
    const std::vector<std::string> muxers = ParseMuxerListing(kFormats);
    EXPECT_TRUE(Listed(muxers, "mp4"));
    EXPECT_TRUE(Listed(muxers, "mj2"));
    EXPECT_TRUE(Listed(muxers, "ipod"));
    EXPECT_FALSE(Listed(muxers, "aa"));
}

TEST(EncoderCheckTest, ArgumentsTakeTheNormalOptionNames)
{
    const auto parsed = ParseCheckArguments({"-f", "ipod", "-vcodec", "libx264", "-acodec", "aac"});
    ASSERT_TRUE(parsed) << parsed.error();
    EXPECT_EQ(parsed->format, "ipod");
    EXPECT_EQ(parsed->videoCodec, "libx264");
    EXPECT_EQ(parsed->audioCodec, "aac");
    EXPECT_FALSE(parsed->videoOff);

    const auto off = ParseCheckArguments({"-vn", "-acodec", "aac", "-an"});
    ASSERT_TRUE(off);
    EXPECT_TRUE(off->videoOff);
    EXPECT_TRUE(off->audioOff);
    EXPECT_TRUE(ParseCheckArguments({}));
}

struct BadArguments
{
    std::vector<std::string> arguments;
    const char* says;
};

TEST(EncoderCheckTest, BadArgumentsAreRefusedByName)
{
    const std::vector<BadArguments> cases{
        {{"-vcodec"}, "missing value for -vcodec"},
        {{"-f", "-vn"}, "missing value for -f"},
        {{"-acodec", ""}, "missing value for -acodec"},
        {{"-s", "320x240"}, "not -s"},
        {{"libx264"}, "not libx264"},
    };
    for (const BadArguments& bad : cases) {
        const auto parsed = ParseCheckArguments(bad.arguments);
        ASSERT_FALSE(parsed);
        EXPECT_NE(parsed.error().find(bad.says), std::string::npos) << parsed.error();
    }
}

struct MissingCase
{
    const char* name;
    CheckRequest request;
    std::vector<std::string> missing; // DescribeMissing of each, in order
};

TEST(EncoderCheckTest, FindMissingTable)
{
    const std::vector<ListedEncoder> encoders = ParseEncoderListing(kEncoders);
    const std::vector<std::string> muxers = ParseMuxerListing(kMuxers);
    const std::vector<MissingCase> cases{
        {"all there", {"ipod", "libx264", "aac"}, {}},
        {"codec name instead of encoder name", {"mp4", "h264", "mp3"}, {}},
        {"copy needs no encoder", {"mp4", "copy", "copy"}, {}},
        {"nothing asked", {}, {}},
        {"unknown video encoder",
         {"mp4", "libnothing", "aac"},
         {"video encoder libnothing is missing; it comes with the ffmpeg package"}},
        {"known encoder absent here",
         {"mp4", "libx265", "aac"},
         {"video encoder libx265 is missing; it comes with the Debian package libavcodec59 (ffmpeg)"}},
        {"an audio encoder is no video encoder",
         {"", "aac", ""},
         {"video encoder aac is missing; it comes with the Debian package libavcodec59 (ffmpeg)"}},
        {"a video encoder is no audio encoder",
         {"", "", "mpeg4"},
         {"audio encoder mpeg4 is missing; it comes with the Debian package libavcodec59 (ffmpeg)"}},
        {"everything missing in order",
         {"matroska", "libvpx", "libopencore_amrnb"},
         {"muxer matroska is missing; it comes with the Debian package libavformat59 (ffmpeg)",
          "video encoder libvpx is missing; it comes with the Debian package libavcodec59 (ffmpeg)",
          "audio encoder libopencore_amrnb is missing; it comes with the Debian package libavcodec-extra59 "
          "(in place of libavcodec59)"}},
        {"unknown muxer",
         {"nothingfmt", "", ""},
         {"muxer nothingfmt is missing; it comes with the ffmpeg package"}},
        {"video off leaves the video codec out", {"mp4", "libnothing", "aac", true, false}, {}},
        {"audio off leaves the audio codec out", {"mp4", "libx264", "libnothing", false, true}, {}},
    };
    for (const MissingCase& test : cases) {
        std::vector<std::string> described;
        for (const MissingItem& item : FindMissing(test.request, encoders, muxers))
            described.push_back(DescribeMissing(item));
        EXPECT_EQ(described, test.missing) << test.name;
    }
}

TEST(EncoderCheckTest, PackageTable)
{
    EXPECT_EQ(DebianPackageForEncoder("libx264"), "libavcodec59 (ffmpeg)");
    EXPECT_EQ(DebianPackageForEncoder("aac"), "libavcodec59 (ffmpeg)");
    EXPECT_EQ(DebianPackageForEncoder("mpeg4"), "libavcodec59 (ffmpeg)");
    EXPECT_EQ(DebianPackageForEncoder("libvo_amrwbenc"), "libavcodec-extra59 (in place of libavcodec59)");
    EXPECT_EQ(DebianPackageForEncoder("libnothing"), "the ffmpeg package");
    EXPECT_EQ(DebianPackageForMuxer("ipod"), "libavformat59 (ffmpeg)");
    EXPECT_EQ(DebianPackageForMuxer("nothingfmt"), "the ffmpeg package");
}

} // namespace
} // namespace zantrove
