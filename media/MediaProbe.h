// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/MediaInfoLibrary.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zantrove {

// The probe's Inform templates, asked in this order for every file.
// A video template repeats for every video stream; the "|" after each answer lets the probe keep
// the first stream's alone, so a cover picture or a second angle never mixes into the row.
inline constexpr std::string_view kCodecTemplate = "Video;%Codec%|";
inline constexpr std::string_view kPlayTimeTemplate = "General;%PlayTime%";
inline constexpr std::string_view kWidthTemplate = "Video;%Width%|";
inline constexpr std::string_view kHeightTemplate = "Video;%Height%|";
// The stored pixels' shape ("1.422" for a 16:9 PAL DVD) and the turn a player gives the picture
// ("90.000" for a phone held upright): without them the row's size is not what the viewer sees.
inline constexpr std::string_view kPixelAspectTemplate = "Video;%PixelAspectRatio%|";
inline constexpr std::string_view kRotationTemplate = "Video;%Rotation%|";
// Asked only when the codec answer is empty: MediaInfo 23.04 answers the deprecated %Codec% with
// nothing for every file, while %Format% still names the codec ("AVC", "MPEG-4 Visual").
inline constexpr std::string_view kFormatTemplate = "Video;%Format%|";

// How the pictures were taken, in one question: "Progressive", or "Interlaced" (also "MBAFF", "PAFF")
// with "TFF" or "BFF", and for film carried with pulldown "2:3 Pulldown" in an order field.
inline constexpr std::string_view kScanTemplate =
    "Video;%ScanType%/%ScanOrder%/%ScanType_Original%/%ScanOrder_Original%|";

// The sound and subtitle tracks in one question: the sound tracks' count, then each subtitle's
// format ("UTF-8 / VobSub").
inline constexpr std::string_view kTracksTemplate = "General;%AudioCount%|%Text_Format_List%";

inline constexpr std::string_view kUnknownCodec = "UNKNOWN";

// The library's raw answers for one file, and the name from its path.
struct ProbeAnswers
{
    std::string fileName;
    std::string codec;
    std::string format; // empty unless asked
    std::string playTime;
    std::string width;
    std::string height;
    std::string pixelAspect;
    std::string rotation;
    std::string scan;
    std::string tracks = {};
};

// The four row fields the probe fills.
struct ProbeFields
{
    std::string filename;
    std::string codec;
    std::string duration;
    std::string videoSize;
    std::string scan;
    std::string tracks = {};
};

// The file's name without folder and extension, its bytes as they are ("a.b.avi" gives "a.b"; a name
// that only begins with a dot keeps it).
std::string NameFromPath(std::string_view path);

// Milliseconds from a play-time answer, 0 when empty, not a number or outside signed 32 bits. Some
// library versions answer with a fraction ("1000.000"); such a value is rounded to whole
// milliseconds, half to even, rather than refused, so the file keeps its real duration.
std::int32_t ReadPlayTimeMilliseconds(std::string_view answer);
// Whole seconds, halfway going to the even neighbour (1500 -> 2, 2500 -> 2, 3500 -> 4).
std::int32_t RoundMillisecondsToSeconds(std::int32_t milliseconds);
// A width or height answer as a signed 16-bit number; 0 when empty, not a number or out of range.
std::int16_t ReadPictureDimension(std::string_view answer);

// The picture as a player shows it: the stored width widened or narrowed by the pixel shape, then
// turned a quarter when the rotation says so. 0 stands for a size that cannot be read or shown.
struct DisplaySize
{
    std::int16_t width = 0;
    std::int16_t height = 0;
};
DisplaySize DisplayedPictureSize(std::string_view width, std::string_view height,
                                 std::string_view pixelAspect, std::string_view rotation);

// The scan answer as the list tells it: "Progressive", "Interlaced, top field first", "Interlaced,
// bottom field first" or "Film with pulldown"; empty when the file does not say.
std::string ScanText(std::string_view answer);

// The tracks answer counted: "2 sound, 2 text, 1 picture", kinds without a track left out; empty
// when there are none.
std::string TracksText(std::string_view answer);

// The pure conversion from answers to fields. "Video Size" is the displayed size, so everything that
// fits the picture into a frame works on the proportions the viewer sees.
ProbeFields ConvertProbeAnswers(const ProbeAnswers& answers);

// Asks the library: a fresh handle, "Internet" = "no" before opening, open, the templates in order,
// then the handle is released. Never fails: missing answers stay empty; the name is the path's.
ProbeAnswers QueryProbeAnswers(const std::string& path, MediaLibrary& library);

// QueryProbeAnswers followed by ConvertProbeAnswers.
ProbeFields ProbeMediaFile(const std::string& path, MediaLibrary& library = MediaInfoLibrary::Shared());

} // namespace zantrove
