// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/encoder/EncoderOptions.h"

#include "tools/encoder/SourceScan.h"
#include "tools/encoder/StreamMaps.h"
#include "tools/encoder/StreamSwitch.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>

namespace zantrove {

namespace {

// Far above any picture ffmpeg makes, and low enough that sizes plus pads plus crops never overflow.
constexpr int kMaxPictureRows = 65535;

// Device parameters from the profiles; each takes one value and goes to ffmpeg unchanged.
constexpr std::array<std::string_view, 13> kPassThrough{
    "-profile:v", "-level",    "-refs", "-pix_fmt", "-maxrate", "-bufsize", "-fps_mode",
    "-movflags",  "-metadata", "-bf",   "-preset",  "-tune",    "-g"};

// Longest file name the usual file systems take, in bytes.
constexpr std::size_t kLongestFileName = 255;
constexpr std::string_view kUnfinishedSuffix = ".part";

std::string ShortHash(std::string_view text)
{
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", hash);
    return digits;
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool AllDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// Digits with at most one "." between digits.
bool IsDecimal(std::string_view text)
{
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos)
        return AllDigits(text);
    return AllDigits(text.substr(0, dot)) && AllDigits(text.substr(dot + 1));
}

std::optional<int> ParseCount(std::string_view text)
{
    int value = 0;
    if (!AllDigits(text))
        return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "ss", "mm:ss" or "hh:mm:ss", the last part with an optional fraction.
bool IsTime(std::string_view text)
{
    int parts = 0;
    while (true) {
        const std::size_t colon = text.find(':');
        if (colon == std::string_view::npos)
            break;
        if (!AllDigits(text.substr(0, colon)) || ++parts > 2)
            return false;
        text.remove_prefix(colon + 1);
    }
    return IsDecimal(text);
}

bool IsFrameRate(std::string_view text)
{
    const std::size_t slash = text.find('/');
    if (slash != std::string_view::npos)
        return AllDigits(text.substr(0, slash)) && AllDigits(text.substr(slash + 1));
    return IsDecimal(text);
}

bool IsX264(const std::string& codec)
{
    return codec == "libx264" || codec == "libx264rgb" || codec == "h264";
}

// The codec ffmpeg picks for a muxer when none is named, as far as the quality option depends on it.
std::string EffectiveVideoCodec(const EncoderRequest& request)
{
    if (!request.videoCodec.empty())
        return request.videoCodec;
    const std::string muxer = request.format.empty() ? MuxerForFileName(request.output) : request.format;
    for (const char* withX264 : {"mp4", "ipod", "mov", "matroska"}) {
        if (muxer == withX264)
            return "libx264";
    }
    return {};
}

// The rate the output gets at most: a whole fraction of a faster source's rate, else the one asked.
std::string OutputRateCeiling(const EncoderRequest& request)
{
    return RateCeiling(ReadFrameRate(request.sourceRate).value_or(FrameRate{0, 1}), request.frameRate);
}

// Every run's start: errors only, progress on stdout, then the input. Seeking before -i, ffmpeg seeks in
// the input instead of decoding and dropping everything up to there.
std::vector<std::string> InputArguments(const EncoderRequest& request)
{
    std::vector<std::string> args{"-nostdin", "-hide_banner", "-loglevel", "error",
                                  "-nostats", "-progress",    "pipe:1",    "-y"};
    if (!request.start.empty())
        args.insert(args.end(), {"-ss", request.start});
    args.insert(args.end(), {"-i", FileUrl(request.input)});
    return args;
}

std::string UnfinishedUrl(const EncoderRequest& request)
{
    return FileUrl(request.unfinished.empty() ? UnfinishedPath(request.output) : request.unfinished);
}

} // namespace

std::optional<std::string> ConvertRate(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::size_t numberEnd = 0;
    while (numberEnd < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[numberEnd])) || text[numberEnd] == '.'))
        ++numberEnd;
    const std::string_view number = text.substr(0, numberEnd);
    if (!IsDecimal(number))
        return std::nullopt;
    std::string_view unit = text.substr(numberEnd);
    while (!unit.empty() && unit.front() == ' ')
        unit.remove_prefix(1);
    const std::string lowerUnit = Lower(unit);
    for (const char* plain : {"", "bps", "b/s", "bit/s"}) {
        if (lowerUnit == plain)
            return std::string(number);
    }
    for (const char* kilo : {"k", "kbps", "kb/s", "kbit/s"}) {
        if (lowerUnit == kilo)
            return std::string(number) + "k";
    }
    for (const char* mega : {"m", "mbps", "mb/s", "mbit/s"}) {
        if (lowerUnit == mega)
            return std::string(number) + "M";
    }
    return std::nullopt;
}

std::string MuxerForFileName(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    const std::size_t slash = fileName.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 21> kTable{{
        {"m4v", "ipod"},   {"m4a", "ipod"},     {"m4b", "ipod"},     {"mp4", "mp4"},   {"mov", "mov"},
        {"3gp", "3gp"},    {"mkv", "matroska"}, {"mka", "matroska"}, {"webm", "webm"}, {"avi", "avi"},
        {"flv", "flv"},    {"mpg", "mpeg"},     {"mpeg", "mpeg"},    {"ts", "mpegts"}, {"m2ts", "mpegts"},
        {"mp3", "mp3"},    {"aac", "adts"},     {"wav", "wav"},      {"ogg", "ogg"},   {"mts", "mpegts"},
        {"png", "image2"},
    }};
    const std::string extension = Lower(fileName.substr(dot + 1));
    for (const auto& [known, muxer] : kTable) {
        if (extension == known)
            return std::string(muxer);
    }
    return {};
}

Expected<EncoderRequest, ArgumentRefusal> ParseEncoderArguments(const std::vector<std::string>& arguments)
{
    EncoderRequest request;
    const auto fail = [&request](std::string text) {
        return Unexpected{ArgumentRefusal{request.input, std::move(text)}};
    };
    // Named in the refusal too, so the progress window files the refusal under its source.
    if (const auto input = std::find(arguments.begin(), arguments.end(), "-i");
        input != arguments.end() && input + 1 != arguments.end())
        request.input = *(input + 1);
    bool haveInput = false;
    bool haveOutput = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "-sameq") {
            request.sameQuality = true;
            continue;
        }
        if (TakeStreamSwitch(option, request.videoOff, request.audioOff))
            continue;
        const bool passThrough =
            std::find(kPassThrough.begin(), kPassThrough.end(), option) != kPassThrough.end();
        static constexpr std::array<std::string_view, 19> kValued{
            "-i",        "-f",       "-vcodec",     "-s",  "-padtop", "-padbottom", "-padleft",
            "-padright", "-croptop", "-cropbottom", "-b",  "-r",      "-ss",        "-t",
            "-acodec",   "-ab",      "-ar",         "-ac", "-y"};
        const bool valued = std::find(kValued.begin(), kValued.end(), option) != kValued.end();
        if (!passThrough && !valued) {
            if (!option.empty() && option.front() == '-')
                return fail("unknown option " + option);
            return fail("unexpected argument " + option);
        }
        if (i + 1 >= arguments.size())
            return fail("missing value for " + option);
        const std::string& value = arguments[++i];
        const auto bad = [&]() { return fail("bad value for " + option + ": " + value); };
        if (passThrough) {
            request.extra.push_back(option);
            request.extra.push_back(value);
        } else if (option == "-i") {
            if (value.empty())
                return bad();
            request.input = value;
            haveInput = true;
        } else if (option == "-y") {
            if (value.empty())
                return bad();
            if (i + 1 != arguments.size())
                return fail("unexpected argument " + arguments[i + 1] + " after the output file");
            request.output = value;
            haveOutput = true;
        } else if (option == "-f" || option == "-vcodec" || option == "-acodec") {
            if (value.empty() || value.front() == '-')
                return bad();
            (option == "-f"        ? request.format
             : option == "-vcodec" ? request.videoCodec
                                   : request.audioCodec) = value;
        } else if (option == "-s") {
            const std::size_t x = value.find('x');
            const auto width = ParseCount(std::string_view(value).substr(0, x == std::string::npos ? 0 : x));
            const auto height = ParseCount(x == std::string::npos ? std::string_view()
                                                                  : std::string_view(value).substr(x + 1));
            if (!width || !height || *width == 0 || *height == 0 || *width > kMaxPictureRows ||
                *height > kMaxPictureRows)
                return bad();
            request.width = *width;
            request.height = *height;
        } else if (option == "-padtop" || option == "-padbottom" || option == "-padleft" ||
                   option == "-padright" || option == "-croptop" || option == "-cropbottom") {
            const auto rows = ParseCount(value);
            if (!rows || *rows > kMaxPictureRows)
                return bad();
            (option == "-padtop"      ? request.padTop
             : option == "-padbottom" ? request.padBottom
             : option == "-padleft"   ? request.padLeft
             : option == "-padright"  ? request.padRight
             : option == "-croptop"   ? request.cropTop
                                      : request.cropBottom) = *rows;
        } else if (option == "-b" || option == "-ab") {
            const auto rate = ConvertRate(value);
            if (!rate)
                return bad();
            (option == "-b" ? request.videoBitrate : request.audioBitrate) = *rate;
        } else if (option == "-r") {
            if (!IsFrameRate(value))
                return bad();
            request.frameRate = value;
        } else if (option == "-ss" || option == "-t") {
            if (!IsTime(value))
                return bad();
            (option == "-ss" ? request.start : request.duration) = value;
        } else if (option == "-ar" || option == "-ac") {
            const auto number = ParseCount(value);
            if (!number || *number == 0)
                return bad();
            (option == "-ar" ? request.sampleRate : request.channels) = value;
        }
    }
    if (!haveInput)
        return fail("no input file (-i)");
    if (!haveOutput)
        return fail("no output file (-y)");
    if (request.videoOff && request.audioOff)
        return fail("-vn and -an together leave nothing to write");
    // ffmpeg writes into "<name>.part", whose extension says nothing, so the muxer is always named.
    if (request.format.empty() && MuxerForFileName(request.output).empty())
        return fail("cannot tell the output format of " + request.output + "; give -f");
    if (IsPictureRequest(request) && request.videoOff)
        return fail("a picture needs the video; -vn leaves none");
    return request;
}

std::pair<std::string, std::string> VideoFilterParts(const EncoderRequest& request)
{
    const bool sized = request.width > 0 && request.height > 0;
    const std::string width = std::to_string(request.width);
    const std::string height = std::to_string(request.height);
    std::vector<std::string> filters;
    // Fields are woven back into frames at the source's size, before anything scales them apart.
    if (!request.scanFilters.empty())
        filters.push_back(request.scanFilters);
    // A whole fraction of a faster source's rate is taken by the filter, which keeps every n-th frame
    // from the first on; the muxer's rate conversion would run ahead by a frame or two at the start.
    if (!request.frameRate.empty()) {
        const std::string rate = OutputRateCeiling(request);
        if (rate != request.frameRate)
            filters.push_back("fps=" + rate);
    }
    const std::size_t shaping = filters.size();
    if (request.cropTop > 0 || request.cropBottom > 0) {
        // The caller's crop rows refer to the source scaled to the target width with the
        // proportions it is displayed at (dar: a DVD's pixels are not square), nearest row.
        if (sized)
            filters.push_back("scale=" + width + ":round(" + width + "/dar)");
        filters.push_back("crop=" + (sized ? width : std::string("iw")) + ":ih-" +
                          std::to_string(request.cropTop + request.cropBottom) +
                          ":0:" + std::to_string(request.cropTop) + ":exact=1");
        // A no-op when the rows add up; otherwise the frame still gets the asked size.
        if (sized)
            filters.push_back("scale=" + width + ":" + height);
    } else if (sized) {
        filters.push_back("scale=" + width + ":" + height);
    }
    const int rows = request.padTop + request.padBottom;
    const int columns = request.padLeft + request.padRight;
    if (rows > 0 || columns > 0) {
        const std::string x = std::to_string(request.padLeft);
        const std::string y = std::to_string(request.padTop);
        filters.push_back(sized ? "pad=" + std::to_string(request.width + columns) + ":" +
                                      std::to_string(request.height + rows) + ":" + x + ":" + y
                                : "pad=iw+" + std::to_string(columns) + ":ih+" + std::to_string(rows) + ":" +
                                      x + ":" + y);
    }
    if (filters.size() > shaping)
        // The sizes were worked out for square pixels; without this, scale keeps a source's odd
        // sample ratio and players would stretch the picture again.
        filters.push_back("setsar=1");
    std::pair<std::string, std::string> parts;
    for (std::size_t i = 0; i < filters.size(); ++i) {
        std::string& part = i < shaping ? parts.first : parts.second;
        part += (part.empty() ? "" : ",") + filters[i];
    }
    return parts;
}

std::string VideoFilterChain(const EncoderRequest& request)
{
    const auto [timing, shaping] = VideoFilterParts(request);
    return timing.empty() || shaping.empty() ? timing + shaping : timing + "," + shaping;
}

std::string FileUrl(const std::string& path)
{
    return "file:" + path;
}

std::string UnfinishedPath(const std::string& output)
{
    const std::size_t slash = output.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (output.size() - nameStart + kUnfinishedSuffix.size() <= kLongestFileName)
        return output + std::string(kUnfinishedSuffix);
    // A name that fits only without the suffix: a shorter one, told apart from its neighbours by a
    // hash of the whole name, and cut between characters.
    const std::string hash = "~" + ShortHash(output);
    std::size_t keep = kLongestFileName - kUnfinishedSuffix.size() - hash.size();
    while (keep > 0 && (static_cast<unsigned char>(output[nameStart + keep]) & 0xC0) == 0x80)
        --keep;
    return output.substr(0, nameStart + keep) + hash + std::string(kUnfinishedSuffix);
}

std::vector<std::string> BuildFfmpegArguments(const EncoderRequest& request)
{
    if (IsPictureRequest(request))
        return BuildPictureArguments(request);
    std::vector<std::string> args = InputArguments(request);
    AddCoverInput(request, args);
    if (!request.duration.empty())
        args.insert(args.end(), {"-t", request.duration});

    // The first picture stream only: a cover picture or a second angle is no part of the video (a
    // surveyed cover goes along as the cover).
    if (request.streams.surveyed) {
        AddSurveyedMaps(request, args);
    } else {
        if (!request.videoOff)
            args.insert(args.end(), {"-map", "0:V:0?"});
        if (!request.audioOff)
            args.insert(args.end(), {"-map", "0:a:" + std::to_string(request.audioTrack) + "?"});
    }

    const std::size_t videoStart = args.size();
    if (request.videoOff) {
        // The maps leave the picture out already; -vn would take the cover with it.
        if (request.streams.cover < 0)
            args.push_back("-vn");
    } else {
        if (!request.videoCodec.empty())
            args.insert(args.end(), {"-c:v", request.videoCodec});
        if (const std::string chain = VideoFilterChain(request); !chain.empty() && request.streams.burned < 0)
            args.insert(args.end(), {"-vf", chain});
        if (request.sameQuality) {
            // Current ffmpeg has no -sameq, so each codec gets its own constant-quality mode:
            // CRF 18 is visually lossless for x264; qscale 2 is the finest useful step of the
            // MPEG-4 family and the other qscale codecs. A bit rate would cap quality, so it goes.
            const std::string codec = EffectiveVideoCodec(request);
            if (IsX264(codec))
                args.insert(args.end(), {"-crf", "18"});
            else if (codec != "copy")
                args.insert(args.end(), {"-qscale:v", "2"});
        } else if (!request.videoBitrate.empty()) {
            args.insert(args.end(), {"-b:v", request.videoBitrate});
        }
        // A ceiling, not a rate: 25 stays 25, 60 comes down to 30 and 50 to 25; a variable rate
        // becomes constant.
        if (!request.frameRate.empty())
            args.insert(args.end(), {"-fpsmax", OutputRateCeiling(request), "-fps_mode", "cfr"});
    }
    args.insert(args.end(), request.extra.begin(), request.extra.end());
    // With a cover beside it, the picture's options would reach the cover's encoder too.
    if (!request.videoOff && request.streams.cover >= 0)
        QualifyForMainPicture(args, videoStart);

    if (request.audioOff) {
        args.push_back("-an");
    } else {
        if (!request.audioCodec.empty())
            args.insert(args.end(), {"-c:a", request.audioCodec});
        if (!request.audioBitrate.empty())
            args.insert(args.end(), {"-b:a", request.audioBitrate});
        if (!request.sampleRate.empty())
            args.insert(args.end(), {"-ar", request.sampleRate});
        if (!request.channels.empty())
            args.insert(args.end(), {"-ac", request.channels});
    }
    if (request.streams.surveyed)
        AddTrackMarks(request, args);
    args.insert(args.end(), {"-f", request.format.empty() ? MuxerForFileName(request.output) : request.format,
                             UnfinishedUrl(request)});
    return args;
}

bool IsPictureRequest(const EncoderRequest& request)
{
    return Lower(request.output).ends_with(".png");
}

std::vector<std::string> BuildPictureArguments(const EncoderRequest& request)
{
    // Seeking as the conversion seeks, so the picture is the frame the conversion starts from there.
    std::vector<std::string> args = InputArguments(request);
    args.insert(args.end(), {"-map", "0:V:0"});
    if (const std::string chain = VideoFilterChain(request); !chain.empty())
        args.insert(args.end(), {"-vf", chain});
    // The unfinished name tells image2 nothing: one frame, one file, named codec.
    args.insert(args.end(), {"-frames:v", "1", "-update", "1", "-an", "-c:v", "png", "-f", "image2",
                             UnfinishedUrl(request)});
    return args;
}

std::string FrameRateLine(const EncoderRequest& request)
{
    const auto source = ReadFrameRate(request.sourceRate);
    std::string rate = source ? source->Text() : std::string("unknown");
    // A ceiling: a slower source keeps its own rate.
    if (!request.frameRate.empty()) {
        const std::string ceiling = OutputRateCeiling(request);
        const auto most = ReadFrameRate(ceiling);
        if (!source || !most || source->Value() > most->Value())
            rate = ceiling;
    }
    return "Zantrove: frame rate " + rate;
}

} // namespace zantrove
