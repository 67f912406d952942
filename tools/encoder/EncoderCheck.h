// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Expected.h"

#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

// "Zantrove.exe --check -f FORMAT -vcodec CODEC -acodec CODEC" asks the ffmpeg the encoder would run
// whether it has these, before any file is converted.
inline constexpr std::string_view kCheckOption = "--check";

// Exit statuses of the check mode.
inline constexpr int kCheckAllThere = 0;
inline constexpr int kCheckSomethingMissing = 1;
inline constexpr int kCheckNoFfmpeg = 2;
inline constexpr int kCheckBadArguments = 3;

inline constexpr std::string_view kNoFfmpegLine = "no ffmpeg found; install the Debian package ffmpeg";

// One line of "ffmpeg -encoders": its kind letter (V, A or S), its name and the codec it writes
// (the name itself when ffmpeg gives no "(codec ...)").
struct ListedEncoder
{
    char kind = '?';
    std::string name;
    std::string codec;
};

std::vector<ListedEncoder> ParseEncoderListing(std::string_view text);
// The names of "ffmpeg -muxers", "sdl,sdl2" giving both.
std::vector<std::string> ParseMuxerListing(std::string_view text);

// What a check asks about; an empty name is not asked about.
struct CheckRequest
{
    std::string format;
    std::string videoCodec;
    std::string audioCodec;
    bool videoOff = false;
    bool audioOff = false;
};

// The arguments after "--check": -f, -vcodec, -acodec with a value, -vn and -an; else a whole line
// for stderr.
Expected<CheckRequest, std::string> ParseCheckArguments(const std::vector<std::string>& arguments);

struct MissingItem
{
    std::string what; // "video encoder", "audio encoder" or "muxer"
    std::string name;
    std::string package; // where Debian 12 has it, "the ffmpeg package" when the table does not know
};

// What the request names that the listings lack, in the order format, video, audio. A video codec
// needs a video encoder of that name or writing that codec, as ffmpeg's -c:v accepts either; "copy"
// needs none.
std::vector<MissingItem> FindMissing(const CheckRequest& request, const std::vector<ListedEncoder>& encoders,
                                     const std::vector<std::string>& muxers);

// The Debian 12 package that brings an encoder or a muxer.
std::string DebianPackageForEncoder(std::string_view name);
std::string DebianPackageForMuxer(std::string_view name);

// "video encoder libx264 is missing; it comes with the Debian package libavcodec59 (ffmpeg)".
std::string DescribeMissing(const MissingItem& item);

} // namespace zantrove
