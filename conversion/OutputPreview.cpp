// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/OutputPreview.h"

#include "base/TimeText.h"
#include "conversion/ConversionScript.h"
#include "media/AddFilesFlow.h"
#include "media/VideoListModel.h"
#include "platform/CapturedProcess.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace zantrove {

namespace {

// A 1080p source with its look at the fields takes a few seconds on a slow machine; a hung one
// must not hold the caller.
constexpr int kPictureTimeoutMs = 120000;
constexpr std::string_view kRatePrefix = "Zantrove: frame rate ";

std::string MomentText(std::int64_t seconds)
{
    return FormatSeconds(static_cast<std::int32_t>(std::clamp<std::int64_t>(seconds, 0, INT32_MAX)));
}

// The encoder's last line that says something, without its trailing line end.
std::string LastLine(const std::string& output)
{
    std::string last;
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = output.size();
        if (end > start)
            last = output.substr(start, end - start);
        start = end + 1;
    }
    return last;
}

} // namespace

std::int64_t DefaultPreviewMoment(const VideoRow& row)
{
    if (!row.IsTrimmed())
        return 0;
    return ParseClockTime(row.beginTime).value_or(0);
}

Expected<EncoderLine, std::string> PreviewEncoderLine(const VideoRow& row, const EncoderSettings& settings,
                                                      const ProfileLookup& profile, std::int64_t atSeconds,
                                                      const std::string& picturePath)
{
    if (settings.videoOff)
        return Unexpected{std::string("video is off: the output has no picture")};
    if (IsSoundOnlyRow(row))
        return Unexpected{std::string("the file has no picture")};
    EncoderLine line =
        BuildEncoderArguments(row, settings, profile, [](const std::string&) { return false; });
    auto& arguments = line.arguments;
    // The trim's length has no meaning for one picture; its start gives way to the moment picked.
    if (auto length = std::find(arguments.begin(), arguments.end(), EncoderArgument{"-t"});
        length != arguments.end() && length + 1 != arguments.end())
        arguments.erase(length, length + 2);
    if (auto start = std::find(arguments.begin(), arguments.end(), EncoderArgument{"-ss"});
        start != arguments.end() && start + 1 != arguments.end())
        (start + 1)->text = MomentText(atSeconds);
    else
        arguments.insert(arguments.begin() + 2,
                         {EncoderArgument{"-ss"}, EncoderArgument{MomentText(atSeconds)}});
    arguments.back() = {picturePath, true};
    line.outputPath = picturePath;
    return line;
}

EncoderLine SourcePictureLine(const VideoRow& row, std::int64_t atSeconds, const std::string& picturePath)
{
    EncoderLine line;
    line.sourcePath = row.filepath;
    line.arguments = {{"-i"}, {row.filepath, true}};
    // The list's size is the one a player shows: pixel shape and rotation applied.
    if (const std::size_t x = row.videoSize.find('x');
        x != std::string::npos && row.videoSize.rfind("0x", 0) != 0 && !row.videoSize.ends_with("x0"))
        line.arguments.insert(line.arguments.end(), {{"-s"}, {row.videoSize}});
    line.arguments.insert(line.arguments.end(),
                          {{"-ss"}, {MomentText(atSeconds)}, {"-y"}, {picturePath, true}});
    line.outputPath = picturePath;
    return line;
}

std::optional<std::pair<int, int>> ReadPngSize(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header))
        return std::nullopt;
    static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!std::equal(std::begin(kSignature), std::end(kSignature), header) ||
        std::string_view(reinterpret_cast<char*>(header + 12), 4) != "IHDR")
        return std::nullopt;
    const auto read = [&](int at) {
        return int(header[at]) << 24 | int(header[at + 1]) << 16 | int(header[at + 2]) << 8 |
               int(header[at + 3]);
    };
    return std::pair{read(16), read(20)};
}

Expected<PreviewPicture, std::string> ReadPictureResult(const EncoderLine& line, const PictureRun& run)
{
    if (run.exitCode != 0) {
        const std::string last = LastLine(run.output);
        return Unexpected{last.empty() ? "the encoder ended with status " + std::to_string(run.exitCode)
                                       : last};
    }
    const auto size = ReadPngSize(line.outputPath);
    if (!size)
        return Unexpected{"the encoder wrote no picture into " + line.outputPath};
    PreviewPicture picture{line.outputPath, size->first, size->second, {}};
    if (const std::size_t at = run.output.find(kRatePrefix); at != std::string::npos) {
        const std::size_t from = at + kRatePrefix.size();
        picture.frameRate = run.output.substr(from, run.output.find_first_of("\r\n", from) - from);
    }
    return picture;
}

std::string ShownFrameRate(const std::string& rate)
{
    double value = std::atof(rate.c_str());
    if (const std::size_t slash = rate.find('/'); slash != std::string::npos) {
        const double denominator = std::atof(rate.c_str() + slash + 1);
        value = denominator > 0 ? value / denominator : 0;
    }
    if (!(value > 0))
        return rate.empty() ? std::string("unknown rate") : rate;
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    std::string shown = text;
    while (shown.back() == '0')
        shown.pop_back();
    if (shown.back() == '.')
        shown.pop_back();
    return shown + " fps";
}

Expected<PreviewPicture, std::string> RenderPicture(const std::string& component, const EncoderLine& line)
{
    std::vector<std::string> arguments;
    for (const EncoderArgument& argument : line.arguments)
        arguments.push_back(argument.text);
    const auto run = RunCaptured(component, arguments, kPictureTimeoutMs);
    if (!run && run.error().code == kTimedOutCode)
        return Unexpected{std::string("the encoder did not finish the picture")};
    if (!run)
        return Unexpected{"the encoder component could not be run: " + component};
    return ReadPictureResult(line, {run->exitCode, run->output});
}

std::string EncoderComponentPath(const std::string& applicationFolder)
{
    return JoinPath(JoinPath(applicationFolder, "Components"), std::string(kEncoderComponentName));
}

} // namespace zantrove
