// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Expected.h"
#include "tools/encoder/SourceStreams.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zantrove {

// One conversion as the script asks for it in the classic option set, values already checked.
struct EncoderRequest
{
    std::string input;
    std::string output;     // the final name; ffmpeg writes UnfinishedPath(output)
    std::string unfinished; // where ffmpeg writes instead, when the encoder picked another name
    std::string format;     // -f, empty when the output's extension decides
    std::string videoCodec;
    int width = 0; // 0: -s not given
    int height = 0;
    int padTop = 0;
    int padBottom = 0;
    int cropTop = 0;
    int cropBottom = 0;
    int padLeft = 0;
    int padRight = 0;
    std::string videoBitrate; // already in ffmpeg's form, "718k"
    std::string frameRate;    // the most the output gets: a slower source keeps its own rate
    bool sameQuality = false;
    bool videoOff = false;
    std::string start;
    std::string duration;
    bool audioOff = false;
    std::string audioCodec;
    std::string audioBitrate;
    std::string sampleRate;
    std::string channels;
    std::vector<std::string> extra; // device parameters, option and value as they stand
    int audioTrack = 0;             // among the source's audio tracks, the one converted
    // From the look at the source: the filters that make its frames progressive, and their rate
    // afterwards ("25", "24000/1001"; empty when it varies or is not known).
    std::string scanFilters;
    std::string sourceRate;
    // From the survey of the source's streams: which tracks go into the output.
    StreamPlan streams;
};

// Why the arguments were refused, with the source they name (empty without one), so that the failure
// line can begin with it.
struct ArgumentRefusal
{
    std::string input;
    std::string text;
};

// The arguments after the program name.
Expected<EncoderRequest, ArgumentRefusal> ParseEncoderArguments(const std::vector<std::string>& arguments);

// "718kbps", "718 kbps", "718k", "1450.5kbps", "128000" into ffmpeg's "718k" form; nullopt when the
// text is no rate. A plain number stays bits per second, as ffmpeg reads it.
std::optional<std::string> ConvertRate(std::string_view text);

// The ffmpeg muxer for an output name's extension, empty when the table does not know it.
std::string MuxerForFileName(std::string_view fileName);

// The filters that make the frames and set their times (scan, rate), and those that shape them (size,
// crops, pads); VideoFilterChain joins them.
std::pair<std::string, std::string> VideoFilterParts(const EncoderRequest& request);

// The -vf chain for size, pads and crops; empty when the picture is left as it is.
std::string VideoFilterChain(const EncoderRequest& request);

// Where ffmpeg writes before the result gets its final name: output + ".part", or a name cut short
// when that would be too long for the file system.
std::string UnfinishedPath(const std::string& output);

// ffmpeg's arguments after its program name, writing into UnfinishedPath(request.output). Both paths
// carry the file protocol, so ffmpeg never reads one as an option or another protocol.
std::vector<std::string> BuildFfmpegArguments(const EncoderRequest& request);

// A path as ffmpeg reads it as it stands: "12:30.mp4" alone would name a protocol "12", and
// "-dash/x.m4v" an option.
std::string FileUrl(const std::string& path);

// An output named *.png asks for one picture of the conversion: the moment -ss names, through the
// same filters, at the output's pixel size; codec, rates, device parameters and sound do not apply.
bool IsPictureRequest(const EncoderRequest& request);
std::vector<std::string> BuildPictureArguments(const EncoderRequest& request);
// The frame rate the conversion would give, as a line for the caller: "Zantrove: frame rate 25".
std::string FrameRateLine(const EncoderRequest& request);

} // namespace zantrove
