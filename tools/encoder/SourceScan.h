// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

// A frame rate as ffmpeg writes it, "30000/1001".
struct FrameRate
{
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
    double Value() const { return denominator > 0 ? double(numerator) / double(denominator) : 0.0; }
    bool Known() const { return numerator > 0 && denominator > 0; }
    std::string Text() const;
};

// "25", "29.97", "30000/1001"; nullopt for anything else or a rate of 0.
std::optional<FrameRate> ReadFrameRate(std::string_view text);

// What the first picture stream says of itself: ffprobe's stream fields and the flags of its first frames.
struct StreamFlags
{
    std::string fieldOrder; // "progressive", "tt", "bb", "tb", "bt", or empty when unknown
    FrameRate rate;         // r_frame_rate
    FrameRate average;      // avg_frame_rate
    int frames = 0;         // frames whose flags were read
    int interlacedFrames = 0;
    int topFirstFrames = 0;
    int repeatingFrames = 0; // repeat_pict above 0: a soft pulldown's extra field
};

// From ffprobe's "-show_entries stream=field_order,r_frame_rate,avg_frame_rate:frame=interlaced_frame,
// top_field_first,repeat_pict -of default=nw=1" answer for one stream.
StreamFlags ReadStreamFlags(std::string_view answer);

// Everything the conversion wants to know of the source before it starts, from one ffprobe answer to
// SurveyArguments: the first picture stream's flags (a cover picture is no picture stream), and among the
// sound tracks the one marked default, else the first.
struct SourceSurvey
{
    StreamFlags video;
    int audioTrack = 0;
    double seconds = 0; // the source's length, 0 when not known
};

SourceSurvey ReadSourceSurvey(std::string_view answer);

// What idet saw, frame by frame, in the metadata filter's printout.
struct FieldStatistics
{
    int frames = 0;
    int topFirst = 0; // idet's multi-frame verdicts, the last (cumulative) ones
    int bottomFirst = 0;
    int progressive = 0;
    std::vector<int> repeatedAt; // the frames with one field repeated from the frame before
};

FieldStatistics ReadFieldStatistics(std::string_view printout);

enum class ScanKind
{
    Progressive,
    Interlaced,
    Telecined,    // 3:2 pulldown woven into the frames
    SoftPulldown, // film frames with repeat-field flags
};

struct ScanDecision
{
    ScanKind kind = ScanKind::Progressive;
    bool topFieldFirst = true;
    bool fromPictures = false; // decided by looking at the pictures rather than the flags
};

// Whether the flags alone cannot be trusted, so the pictures have to be looked at: any flag says
// interlaced, or the flags are missing.
bool NeedsPictureCheck(const StreamFlags& flags);

// The scan from the flags and, when they were looked at, the pictures.
ScanDecision DecideScan(const StreamFlags& flags, const std::optional<FieldStatistics>& pictures);

// The filters that turn the source into progressive frames, one a source frame (film: one a film
// frame, at rate, ProgressiveRate's answer); empty for a progressive source.
std::string ScanFilters(const ScanDecision& scan, const FrameRate& rate);

// The rate of the pictures after ScanFilters; unknown for a variable rate.
FrameRate ProgressiveRate(const StreamFlags& flags, const ScanDecision& scan);

// The most the output gets under the ceiling: a faster source comes down to the largest whole
// fraction of its own rate that fits (50 to 25, 59.94 to 29.97), so motion stays even; a rate with no
// such fraction near the ceiling, or an unknown one, gets the ceiling.
std::string RateCeiling(const FrameRate& source, std::string_view ceiling);

// The arguments of the two looks at a source: ffprobe's survey, and idet's count over the first seconds.
std::vector<std::string> SurveyArguments(const std::string& inputUrl);
std::vector<std::string> FieldCheckArguments(const std::string& inputUrl, const std::string& start,
                                             int frames);

// How many frames idet looks at: a twentieth of a short source, so the look stays a small part of its
// conversion, between enough to see a pulldown's cadence and six seconds of TV.
int FramesToCheck(const SourceSurvey& survey);

} // namespace zantrove
