// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/encoder/SourceScan.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace zantrove {

namespace {

// Frames idet looks at: at most six seconds of TV, thirty cycles of a pulldown; at least six cycles.
constexpr int kMostCheckedFrames = 150;
constexpr int kLeastCheckedFrames = 30;
// Fewer than this and the pictures say too little to overrule the flags.
constexpr int kFewestCheckedFrames = 20;
// A frame woven from two moments is combed wherever anything moves; a quarter of them is far above
// what sharp progressive detail sets off.
constexpr double kInterlacedShare = 0.25;
// A faster source comes down to a fraction of its rate only while that stays smooth enough to watch.
constexpr double kLowestFraction = 2.0 / 3.0;

std::optional<std::int64_t> ReadWhole(std::string_view text)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Calls take(key, value) for every "key=value" line.
template <typename Take> void ForEachEntry(std::string_view text, Take take)
{
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.remove_suffix(1);
        const std::size_t equals = line.find('=');
        take(line.substr(0, equals == std::string_view::npos ? line.size() : equals),
             equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1));
    }
}

int ReadCount(std::string_view value)
{
    // idet prints its counts as "12.00".
    return static_cast<int>(ReadWhole(value.substr(0, value.find('.'))).value_or(0));
}

bool Near(double a, double b)
{
    return std::abs(a - b) < 0.02;
}

bool IsNtscFrameRate(double rate)
{
    return Near(rate, 30000.0 / 1001) || Near(rate, 30.0);
}

// Two of five frames of a 3:2 pulldown repeat a field, always at the same places of the cycle.
bool HasPulldownCadence(const FieldStatistics& pictures)
{
    const auto repeats = static_cast<int>(pictures.repeatedAt.size());
    if (repeats * 10 < pictures.frames)
        return false;
    std::array<int, 5> atPlace{};
    for (const int frame : pictures.repeatedAt)
        ++atPlace[static_cast<std::size_t>(frame % 5)];
    std::sort(atPlace.begin(), atPlace.end(), std::greater<>());
    return (atPlace[0] + atPlace[1]) * 10 >= repeats * 8;
}

// The field shown first as the flags tell it: "tb" is coded top first but shown bottom first.
std::optional<bool> FlaggedTopFirst(const StreamFlags& flags)
{
    if (flags.fieldOrder == "tt" || flags.fieldOrder == "bt")
        return true;
    if (flags.fieldOrder == "bb" || flags.fieldOrder == "tb")
        return false;
    if (flags.interlacedFrames > 0)
        return flags.topFirstFrames * 2 >= flags.interlacedFrames;
    return std::nullopt;
}

bool FlaggedInterlaced(const StreamFlags& flags)
{
    const bool orderSaysSo = flags.fieldOrder == "tt" || flags.fieldOrder == "bb" ||
                             flags.fieldOrder == "tb" || flags.fieldOrder == "bt";
    return orderSaysSo || (flags.frames > 0 && flags.interlacedFrames * 2 > flags.frames);
}

FrameRate Reduced(FrameRate rate)
{
    const std::int64_t common = std::gcd(rate.numerator, rate.denominator);
    if (common > 1)
        rate = {rate.numerator / common, rate.denominator / common};
    return rate;
}

} // namespace

std::string FrameRate::Text() const
{
    return denominator == 1 ? std::to_string(numerator)
                            : std::to_string(numerator) + "/" + std::to_string(denominator);
}

std::optional<FrameRate> ReadFrameRate(std::string_view text)
{
    FrameRate rate;
    if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
        const auto numerator = ReadWhole(text.substr(0, slash));
        const auto denominator = ReadWhole(text.substr(slash + 1));
        if (!numerator || !denominator)
            return std::nullopt;
        rate = {*numerator, *denominator};
    } else {
        const std::size_t dot = text.find('.');
        const std::string_view fraction = dot == std::string_view::npos ? "" : text.substr(dot + 1);
        if (fraction.size() > 6)
            return std::nullopt;
        std::string digits(text.substr(0, dot));
        digits += fraction;
        const auto number = ReadWhole(digits);
        if (!number || (dot != std::string_view::npos && fraction.empty()))
            return std::nullopt;
        rate = {*number, static_cast<std::int64_t>(std::pow(10, fraction.size()))};
    }
    if (!rate.Known())
        return std::nullopt;
    return Reduced(rate);
}

StreamFlags ReadStreamFlags(std::string_view answer)
{
    StreamFlags flags;
    ForEachEntry(answer, [&flags](std::string_view key, std::string_view value) {
        if (key == "field_order")
            flags.fieldOrder = value == "unknown" ? "" : std::string(value);
        else if (key == "r_frame_rate")
            flags.rate = ReadFrameRate(value).value_or(FrameRate{0, 1});
        else if (key == "avg_frame_rate")
            flags.average = ReadFrameRate(value).value_or(FrameRate{0, 1});
        else if (key == "interlaced_frame") {
            ++flags.frames;
            flags.interlacedFrames += value == "1" ? 1 : 0;
        } else if (key == "top_field_first")
            flags.topFirstFrames += value == "1" ? 1 : 0;
        else if (key == "repeat_pict")
            flags.repeatingFrames += ReadWhole(value).value_or(0) > 0 ? 1 : 0;
    });
    return flags;
}

SourceSurvey ReadSourceSurvey(std::string_view answer)
{
    struct Stream
    {
        std::string index, type, entries;
        bool isDefault = false, isPicture = false;
    };
    std::vector<Stream> streams;
    SourceSurvey survey;
    std::string frames; // only picture frames carry these fields
    ForEachEntry(answer, [&](std::string_view key, std::string_view value) {
        const std::string line = std::string(key) + "=" + std::string(value) + "\n";
        if (key == "interlaced_frame" || key == "top_field_first" || key == "repeat_pict")
            frames += line;
        else if (key == "duration")
            survey.seconds = std::max(0.0, std::atof(std::string(value).c_str()));
        else if (key == "index")
            streams.push_back({std::string(value), {}, {}});
        else if (streams.empty())
            return;
        else if (key == "codec_type")
            streams.back().type = value;
        else if (key == "DISPOSITION:default")
            streams.back().isDefault = value == "1";
        else if (key == "DISPOSITION:attached_pic")
            streams.back().isPicture = value == "1";
        else
            streams.back().entries += line;
    });
    bool videoSeen = false, defaultSeen = false;
    int audio = 0;
    for (auto stream = streams.begin(); stream != streams.end(); ++stream) {
        // A transport stream's programs list their streams before the streams themselves, in another
        // order: the last listing counts.
        if (std::any_of(stream + 1, streams.end(),
                        [&](const Stream& later) { return later.index == stream->index; }))
            continue;
        if (stream->type == "video" && !stream->isPicture && !videoSeen) {
            survey.video = ReadStreamFlags(stream->entries + frames);
            videoSeen = true;
        } else if (stream->type == "audio") {
            if (stream->isDefault && !defaultSeen) {
                survey.audioTrack = audio;
                defaultSeen = true;
            }
            ++audio;
        }
    }
    return survey;
}

FieldStatistics ReadFieldStatistics(std::string_view printout)
{
    FieldStatistics pictures;
    ForEachEntry(printout, [&pictures](std::string_view key, std::string_view value) {
        if (key.starts_with("frame:"))
            ++pictures.frames;
        else if (key == "lavfi.idet.repeated.current_frame" && value != "neither" && pictures.frames > 0)
            pictures.repeatedAt.push_back(pictures.frames - 1);
        else if (key == "lavfi.idet.multiple.tff")
            pictures.topFirst = ReadCount(value);
        else if (key == "lavfi.idet.multiple.bff")
            pictures.bottomFirst = ReadCount(value);
        else if (key == "lavfi.idet.multiple.progressive")
            pictures.progressive = ReadCount(value);
    });
    return pictures;
}

bool NeedsPictureCheck(const StreamFlags& flags)
{
    if (flags.repeatingFrames > 0 && flags.interlacedFrames == 0)
        return false; // soft pulldown says what it is
    // Flagged progressive all through, the pictures are taken at their word: looking costs a decoding
    // pass that a small conversion would feel.
    return flags.fieldOrder != "progressive" || flags.interlacedFrames > 0;
}

ScanDecision DecideScan(const StreamFlags& flags, const std::optional<FieldStatistics>& pictures)
{
    ScanDecision scan;
    scan.topFieldFirst = FlaggedTopFirst(flags).value_or(true);
    if (flags.repeatingFrames > 0 && flags.interlacedFrames == 0) {
        scan.kind = ScanKind::SoftPulldown;
        return scan;
    }
    if (!pictures || pictures->frames < kFewestCheckedFrames) {
        scan.kind = FlaggedInterlaced(flags) ? ScanKind::Interlaced : ScanKind::Progressive;
        return scan;
    }
    scan.fromPictures = true;
    const int combed = pictures->topFirst + pictures->bottomFirst;
    // A field order the pictures show clearly overrules the flags: wrong order flags are common.
    if (pictures->topFirst > 2 * pictures->bottomFirst)
        scan.topFieldFirst = true;
    else if (pictures->bottomFirst > 2 * pictures->topFirst)
        scan.topFieldFirst = false;
    if (flags.rate.Known() && IsNtscFrameRate(flags.rate.Value()) && HasPulldownCadence(*pictures))
        scan.kind = ScanKind::Telecined;
    else if (combed > 0 && combed >= kInterlacedShare * (combed + pictures->progressive))
        scan.kind = ScanKind::Interlaced;
    else
        scan.kind = ScanKind::Progressive;
    return scan;
}

std::string ScanFilters(const ScanDecision& scan, const FrameRate& rate)
{
    const std::string parity = scan.topFieldFirst ? "tff" : "bff";
    switch (scan.kind) {
    case ScanKind::Interlaced:
        // One frame a frame (not one a field), every frame: an unflagged one too.
        return "bwdif=mode=send_frame:parity=" + parity + ":deint=all";
    case ScanKind::Telecined:
        // Whole film frames put back together from their fields, the rare one left combed made
        // progressive, then the one repeated frame of five dropped.
        return "fieldmatch=order=" + parity + ":combmatch=full,bwdif=mode=send_frame:parity=" + parity +
               ":deint=interlaced,decimate";
    case ScanKind::SoftPulldown:
        // The decoder gives the film frames, timed three fields and two fields apart; at the stream's
        // 29.97 the muxer would repeat one in four.
        return rate.Known() ? "fps=" + rate.Text() : std::string();
    case ScanKind::Progressive:
        break;
    }
    return {};
}

FrameRate ProgressiveRate(const StreamFlags& flags, const ScanDecision& scan)
{
    FrameRate rate = flags.rate;
    if (!rate.Known())
        return {0, 1};
    if (flags.average.Known() && std::abs(rate.Value() - flags.average.Value()) > rate.Value() * 0.01) {
        // Soft pulldown and some field-coded streams give the field or display cadence as their
        // rate; the average is the pictures'. Anything else is a variable rate.
        const bool fieldRate = Near(rate.Value(), 2 * flags.average.Value());
        if (scan.kind != ScanKind::SoftPulldown && !fieldRate)
            return {0, 1};
        rate = flags.average;
    }
    if (scan.kind == ScanKind::Telecined)
        rate = Reduced({rate.numerator * 4, rate.denominator * 5});
    return rate;
}

std::string RateCeiling(const FrameRate& source, std::string_view ceiling)
{
    const auto most = ReadFrameRate(ceiling);
    if (!most || !source.Known() || source.Value() <= most->Value() * 1.0001)
        return std::string(ceiling);
    const auto divisor = static_cast<std::int64_t>(std::ceil(source.Value() / most->Value() - 1e-9));
    const FrameRate fraction = Reduced({source.numerator, source.denominator * divisor});
    if (fraction.Value() < most->Value() * kLowestFraction)
        return std::string(ceiling);
    return fraction.Text();
}

std::vector<std::string> SurveyArguments(const std::string& inputUrl)
{
    // One ffprobe start costs more than reading its first packets: one call answers both questions.
    return {"-v",
            "quiet",
            "-read_intervals",
            "%+#48",
            "-show_entries",
            "stream=index,codec_type,codec_name,width,height,field_order,r_frame_rate,avg_frame_rate:"
            "stream_disposition=default,forced,attached_pic:stream_tags=language:"
            "frame=interlaced_frame,top_field_first,repeat_pict:format=duration:format_tags=title",
            "-of",
            "default=nw=1",
            inputUrl};
}

int FramesToCheck(const SourceSurvey& survey)
{
    const double frames = survey.seconds * survey.video.rate.Value() / 20;
    if (frames <= 0)
        return kMostCheckedFrames;
    return static_cast<int>(std::clamp(frames, double(kLeastCheckedFrames), double(kMostCheckedFrames)));
}

std::vector<std::string> FieldCheckArguments(const std::string& inputUrl, const std::string& start,
                                             int frames)
{
    std::vector<std::string> arguments{"-nostdin", "-v", "quiet"};
    if (!start.empty())
        arguments.insert(arguments.end(), {"-ss", start});
    // The metadata filter prints each frame's verdicts to our pipe; the colon is escaped twice, once
    // for the filter's options and once for the graph.
    arguments.insert(arguments.end(), {"-i", inputUrl, "-map", "0:V:0", "-frames:v", std::to_string(frames),
                                       "-vf", "idet,metadata=mode=print:file=pipe\\\\:1", "-f", "null", "-"});
    return arguments;
}

} // namespace zantrove
