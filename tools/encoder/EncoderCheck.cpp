// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/encoder/EncoderCheck.h"

#include "base/TextUtilities.h"
#include "tools/encoder/StreamSwitch.h"

#include <algorithm>
#include <array>

namespace zantrove {

namespace {

constexpr std::string_view kGenericPackage = "the ffmpeg package";
constexpr std::string_view kCodecLibrary = "libavcodec59 (ffmpeg)";
constexpr std::string_view kFormatLibrary = "libavformat59 (ffmpeg)";
// Debian builds these only into the replacement library, which ffmpeg accepts in place of libavcodec59.
constexpr std::string_view kExtraCodecLibrary = "libavcodec-extra59 (in place of libavcodec59)";

// The next blank-separated word of text, taken off its front.
std::string_view TakeWord(std::string_view& text)
{
    text = TrimBlanks(text);
    std::size_t end = 0;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t')
        ++end;
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

// Calls onEntry for every line after the first line made only of dashes; the legend above it
// looks like entries ("V..... = Video") and must not count.
template <typename OnEntry> void ForEachEntry(std::string_view text, OnEntry onEntry)
{
    bool inEntries = false;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = TrimBlanks(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!inEntries) {
            inEntries = !line.empty() && line.find_first_not_of('-') == std::string_view::npos;
            continue;
        }
        if (!line.empty())
            onEntry(line);
    }
}

bool HasEncoder(const std::vector<ListedEncoder>& encoders, std::string_view codec, char kind)
{
    return std::any_of(encoders.begin(), encoders.end(), [&](const ListedEncoder& encoder) {
        return encoder.kind == kind && (encoder.name == codec || encoder.codec == codec);
    });
}

} // namespace

std::vector<ListedEncoder> ParseEncoderListing(std::string_view text)
{
    std::vector<ListedEncoder> encoders;
    ForEachEntry(text, [&encoders](std::string_view line) {
        const std::string_view flags = TakeWord(line);
        const std::string_view name = TakeWord(line);
        if (flags.size() != 6 || name.empty() || (flags[0] != 'V' && flags[0] != 'A' && flags[0] != 'S'))
            return;
        ListedEncoder encoder{flags[0], std::string(name), std::string(name)};
        const std::string_view description = TrimBlanks(line);
        constexpr std::string_view marker = "(codec ";
        if (const std::size_t at = description.rfind(marker);
            at != std::string_view::npos && description.back() == ')') {
            const std::string_view codec =
                description.substr(at + marker.size(), description.size() - 1 - at - marker.size());
            if (!codec.empty() && codec.find(' ') == std::string_view::npos)
                encoder.codec = std::string(codec);
        }
        encoders.push_back(std::move(encoder));
    });
    return encoders;
}

std::vector<std::string> ParseMuxerListing(std::string_view text)
{
    std::vector<std::string> muxers;
    ForEachEntry(text, [&muxers](std::string_view line) {
        // "E" or "DE" in -formats; the E says it writes.
        const std::string_view flags = TakeWord(line);
        std::string_view names = TakeWord(line);
        if (flags.empty() || flags.size() > 2 || flags.back() != 'E' || names.empty())
            return;
        while (!names.empty()) {
            const std::size_t comma = std::min(names.find(','), names.size());
            if (comma > 0)
                muxers.emplace_back(names.substr(0, comma));
            names.remove_prefix(std::min(comma + 1, names.size()));
        }
    });
    return muxers;
}

Expected<CheckRequest, std::string> ParseCheckArguments(const std::vector<std::string>& arguments)
{
    CheckRequest request;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (TakeStreamSwitch(option, request.videoOff, request.audioOff))
            continue;
        if (option != "-f" && option != "-vcodec" && option != "-acodec")
            return Unexpected{"Zantrove: the check takes -f, -vcodec, -acodec, -vn and -an, not " + option};
        if (i + 1 >= arguments.size() || arguments[i + 1].empty() || arguments[i + 1].front() == '-')
            return Unexpected{"Zantrove: missing value for " + option};
        const std::string& value = arguments[++i];
        (option == "-f"        ? request.format
         : option == "-vcodec" ? request.videoCodec
                               : request.audioCodec) = value;
    }
    return request;
}

std::vector<MissingItem> FindMissing(const CheckRequest& request, const std::vector<ListedEncoder>& encoders,
                                     const std::vector<std::string>& muxers)
{
    std::vector<MissingItem> missing;
    if (!request.format.empty() && std::find(muxers.begin(), muxers.end(), request.format) == muxers.end())
        missing.push_back({"muxer", request.format, DebianPackageForMuxer(request.format)});
    if (!request.videoOff && !request.videoCodec.empty() && request.videoCodec != "copy" &&
        !HasEncoder(encoders, request.videoCodec, 'V'))
        missing.push_back({"video encoder", request.videoCodec, DebianPackageForEncoder(request.videoCodec)});
    if (!request.audioOff && !request.audioCodec.empty() && request.audioCodec != "copy" &&
        !HasEncoder(encoders, request.audioCodec, 'A'))
        missing.push_back({"audio encoder", request.audioCodec, DebianPackageForEncoder(request.audioCodec)});
    return missing;
}

std::string DebianPackageForEncoder(std::string_view name)
{
    // The encoders Debian 12's libavcodec59 is built with, as far as a device profile could name them.
    static constexpr std::array<std::string_view, 24> kInCodecLibrary{
        "libx264",    "libx264rgb", "h264",       "libx265",    "hevc",      "mpeg4",     "libxvid", "mjpeg",
        "libvpx",     "libvpx-vp9", "libaom-av1", "libsvtav1",  "libtheora", "aac",       "alac",    "ac3",
        "libmp3lame", "libopus",    "libvorbis",  "libtwolame", "libshine",  "pcm_s16le", "flac",    "mp2"};
    static constexpr std::array<std::string_view, 2> kInExtraCodecLibrary{"libopencore_amrnb",
                                                                          "libvo_amrwbenc"};
    if (std::find(kInCodecLibrary.begin(), kInCodecLibrary.end(), name) != kInCodecLibrary.end())
        return std::string(kCodecLibrary);
    if (std::find(kInExtraCodecLibrary.begin(), kInExtraCodecLibrary.end(), name) !=
        kInExtraCodecLibrary.end())
        return std::string(kExtraCodecLibrary);
    return std::string(kGenericPackage);
}

std::string DebianPackageForMuxer(std::string_view name)
{
    static constexpr std::array<std::string_view, 15> kInFormatLibrary{
        "mp4", "ipod", "mov",    "3gp", "3g2",  "matroska", "webm", "avi",
        "flv", "mpeg", "mpegts", "mp3", "adts", "wav",      "ogg"};
    if (std::find(kInFormatLibrary.begin(), kInFormatLibrary.end(), name) != kInFormatLibrary.end())
        return std::string(kFormatLibrary);
    return std::string(kGenericPackage);
}

std::string DescribeMissing(const MissingItem& item)
{
    return item.what + " " + item.name + " is missing; it comes with " +
           (item.package == kGenericPackage ? std::string(kGenericPackage)
                                            : "the Debian package " + item.package);
}

} // namespace zantrove
