// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/EncoderArguments.h"

#include "base/TimeText.h"
#include "conversion/PictureGeometry.h"
#include "conversion/ShellWords.h"
#include "media/AddFilesFlow.h"
#include "media/VideoListModel.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <set>

namespace zantrove {

namespace {
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A decimal number with "." whatever the user's locale, so the encoder always reads the same value.
std::optional<double> ReadDecimal(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string ShortestDecimal(double value)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

void Add(std::vector<EncoderArgument>& arguments, std::string text, bool path = false)
{
    arguments.push_back({std::move(text), path});
}
} // namespace

EncoderLine BuildEncoderArguments(const VideoRow& row, const EncoderSettings& chosen,
                                  const ProfileLookup& profile, const FileExistsTest& exists)
{
    // A file without a picture gets the line of "No Video": its sound, in the audio codec's file.
    EncoderSettings settings = chosen;
    settings.videoOff = chosen.videoOff || (!chosen.audioOff && IsSoundOnlyRow(row));
    EncoderLine line;
    line.sourcePath = row.filepath;
    auto& arguments = line.arguments;
    Add(arguments, "-i");
    Add(arguments, row.filepath, true);

    if (settings.videoOff) {
        Add(arguments, "-vn");
    } else {
        if (std::string format = profile(settings.videoCodec, kVideoFormatKey); !format.empty()) {
            Add(arguments, "-f");
            Add(arguments, std::move(format));
        }
        Add(arguments, "-vcodec");
        Add(arguments, settings.videoCodec);
        if (settings.keepAspectRatio) {
            for (std::string& part : FitToTargetSize(row.videoSize, settings.videoSize))
                Add(arguments, std::move(part));
        } else {
            Add(arguments, "-s");
            Add(arguments, settings.videoSize);
        }
        // The encoder is given 50 below the rate picked; no number, no rate and no frame rate.
        if (const auto kbps = ReadDecimal(ReplaceAll(settings.videoBitrate, " kbps", ""))) {
            Add(arguments, "-b");
            Add(arguments, ShortestDecimal(*kbps - 50) + "kbps");
            Add(arguments, "-r");
            Add(arguments, ReplaceAll(settings.frameRate, " fps", ""));
        }
        if (settings.sameQuality)
            Add(arguments, "-sameq");
    }

    if (row.IsTrimmed()) {
        const auto start = ParseClockTime(row.beginTime);
        const auto end = ParseClockTime(row.endTime);
        if (start && end && *end >= *start && *end - *start <= INT32_MAX) {
            Add(arguments, "-ss");
            Add(arguments, row.beginTime);
            Add(arguments, "-t");
            Add(arguments, FormatSeconds(static_cast<std::int32_t>(*end - *start)));
        }
    }

    if (!settings.videoOff) {
        for (std::string& word : SplitShellWords(profile(settings.videoCodec, kExtraParametersKey)))
            Add(arguments, std::move(word));
    }

    if (settings.audioOff) {
        Add(arguments, "-an");
    } else {
        Add(arguments, "-acodec");
        Add(arguments, settings.audioCodec);
        Add(arguments, "-ab");
        Add(arguments, ReplaceAll(settings.audioBitrate, " kbps", "kbps"));
        Add(arguments, "-ar");
        Add(arguments, settings.sampleRate);
        // Without a chosen entry there is no channel count to give; the encoder keeps the source's.
        if (settings.channelsIndex >= 0) {
            Add(arguments, "-ac");
            Add(arguments, std::to_string(settings.channelsIndex + 1));
        }
    }

    const std::string extension =
        profile(settings.videoOff ? settings.audioCodec : settings.videoCodec, kExtensionKey);
    line.outputPath = ChooseOutputPath(settings.outputFolder, OutputBaseName(row), extension, exists);
    Add(arguments, "-y");
    Add(arguments, line.outputPath, true);
    return line;
}

std::vector<EncoderLine> BuildEncoderLines(const std::vector<VideoRow>& rows, const EncoderSettings& settings,
                                           const ProfileLookup& profile, const FileExistsTest& exists)
{
    std::set<std::string> given;
    const FileExistsTest taken = [&](const std::string& path) {
        return given.count(path) != 0 || exists(path);
    };
    std::vector<EncoderLine> lines;
    lines.reserve(rows.size());
    for (const VideoRow& row : rows) {
        lines.push_back(BuildEncoderArguments(row, settings, profile, taken));
        given.insert(lines.back().outputPath);
    }
    return lines;
}

std::string RenderArgumentLine(const EncoderLine& line)
{
    std::string text;
    for (const EncoderArgument& argument : line.arguments) {
        if (&argument != &line.arguments.front())
            text += ' ';
        text += argument.path ? '"' + argument.text + '"' : argument.text;
    }
    return text;
}

std::string RenderShellArguments(const EncoderLine& line)
{
    std::string text;
    for (const EncoderArgument& argument : line.arguments) {
        if (!text.empty())
            text += ' ';
        text += argument.path ? ShellQuotePath(argument.text) : ShellQuote(argument.text);
    }
    return text;
}

} // namespace zantrove
