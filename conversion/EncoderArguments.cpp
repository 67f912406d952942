// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/EncoderArguments.h"

#include "base/TextUtilities.h"
#include "base/TimeText.h"
#include "media/AddFilesFlow.h"
#include "media/VideoListModel.h"
#include "storage/IniFile.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <set>

namespace zantrove {

namespace {
struct FrameSize
{
    std::int16_t width = 0;
    std::int16_t height = 0;
};

// The whole numbers before and after the first "x".
std::optional<FrameSize> ReadFrameSize(std::string_view text)
{
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos)
        return std::nullopt;
    const auto width = ParseInt16(text.substr(0, x));
    const auto height = ParseInt16(text.substr(x + 1));
    if (!width || !height)
        return std::nullopt;
    return FrameSize{*width, *height};
}

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

// The share of a narrower source's rows that may be cut to fill the frame: a PAL frame into 4:3
// loses 6%, a CIF frame 8%.
constexpr double kMostRowsCut = 0.10;

std::optional<int> ToRows(double value)
{
    if (!(value >= 0 && value <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<int>(value);
}

int MakeEven(int total)
{
    return total % 2 != 0 ? total + 1 : total;
}

// Even amounts above and below that add up to an even total.
std::pair<int, int> SplitRows(int total)
{
    int top = total / 2;
    int bottom = total / 2;
    if (top % 2 != 0) {
        top += 1;
        bottom = top - 2;
    }
    return {top, bottom};
}

void Add(std::vector<EncoderArgument>& arguments, std::string text, bool path = false)
{
    arguments.push_back({std::move(text), path});
}
} // namespace

ProfileLookup ProfileFileLookup(std::string file)
{
    auto read = std::make_shared<const IniFile>(file);
    return [read = std::move(read)](std::string_view section, std::string_view key) {
        return read->Value(section, key, "");
    };
}

std::vector<std::string> SplitShellWords(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote == '\'') {
            if (c == '\'')
                quote = 0;
            else
                word += c;
        } else if (quote == '"') {
            if (c == '"')
                quote = 0;
            else if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\'))
                word += text[++i];
            else
                word += c;
        } else if (c == ' ' || c == '\t') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            if (c == '\'' || c == '"')
                quote = c;
            else if (c == '\\' && i + 1 < text.size())
                word += text[++i];
            else
                word += c;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

std::vector<std::string> FitToTargetSize(std::string_view sourceSize, std::string_view targetSize)
{
    const auto source = ReadFrameSize(sourceSize);
    const auto target = ReadFrameSize(targetSize);
    if (!source || !target || source->width <= 0 || source->height <= 0 || target->width <= 0 ||
        target->height <= 0)
        return {};
    const double sourceRatio = static_cast<double>(source->width) / source->height;
    const double targetRatio = static_cast<double>(target->width) / target->height;
    // nearbyint rounds half to even in the default rounding mode. A height beyond 16 bits (a sliver
    // of a source) cannot be written as a row count: the step is left out.
    const auto scaledHeight = ToRows(std::nearbyint(target->width / sourceRatio));
    if (!scaledHeight)
        return {};

    std::vector<std::string> fragment;
    if (sourceRatio >= targetRatio) {
        const int total = MakeEven(target->height - *scaledHeight);
        const auto [top, bottom] = SplitRows(total);
        fragment = {"-s", std::to_string(target->width) + "x" + std::to_string(target->height - total)};
        if (top != 0 || bottom != 0)
            fragment.insert(fragment.end(),
                            {"-padtop", std::to_string(top), "-padbottom", std::to_string(bottom)});
        return fragment;
    }
    const int cut = MakeEven(*scaledHeight - target->height);
    if (cut <= kMostRowsCut * *scaledHeight) {
        const auto [top, bottom] = SplitRows(cut);
        if (top != 0 || bottom != 0)
            fragment = {"-croptop", std::to_string(top), "-cropbottom", std::to_string(bottom)};
        fragment.insert(fragment.end(), {"-s", std::string(targetSize)});
        return fragment;
    }
    // Cutting would throw away more than a strip (a portrait clip, 4:3 into 16:9): the whole picture
    // goes in, with bars at the sides.
    const auto scaledWidth = ToRows(std::nearbyint(target->height * sourceRatio));
    if (!scaledWidth)
        return {};
    const int total = MakeEven(target->width - *scaledWidth);
    const auto [left, right] = SplitRows(total);
    return {"-s",        std::to_string(target->width - total) + "x" + std::to_string(target->height),
            "-padleft",  std::to_string(left),
            "-padright", std::to_string(right)};
}

std::string ChooseOutputPath(const std::string& folder, const std::string& baseName,
                             const std::string& extension, const FileExistsTest& exists, char separator)
{
    const std::string stem = folder + separator + baseName;
    std::string candidate = stem + "." + extension;
    // A bound, so a test that always answers "taken" cannot hang the conversion.
    for (int n = 2; exists(candidate) && n <= 1000000; ++n)
        candidate = stem + " (" + std::to_string(n) + ")." + extension;
    return candidate;
}

EncoderLine BuildEncoderArguments(const VideoRow& row, const EncoderSettings& chosen,
                                  const ProfileLookup& profile, const FileExistsTest& exists, char separator)
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
        if (std::string format = profile(settings.videoCodec, "VideoFormat"); !format.empty()) {
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
        for (std::string& word : SplitShellWords(profile(settings.videoCodec, "ExtraParameters")))
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
        profile(settings.videoOff ? settings.audioCodec : settings.videoCodec, "Extension");
    // The media library reports a line break in a name as " / ". A separator in the base name would
    // put the output into a folder that is not there, or above the output folder: the path decides.
    std::string baseName = row.filename;
    if (baseName.find(separator) != std::string::npos) {
        const std::size_t slash = row.filepath.rfind(separator);
        baseName = row.filepath.substr(slash == std::string::npos ? 0 : slash + 1);
        if (const std::size_t dot = baseName.rfind('.'); dot != std::string::npos && dot > 0)
            baseName.erase(dot);
    }
    line.outputPath = ChooseOutputPath(settings.outputFolder, baseName, extension, exists, separator);
    Add(arguments, "-y");
    Add(arguments, line.outputPath, true);
    return line;
}

std::vector<EncoderLine> BuildEncoderLines(const std::vector<VideoRow>& rows, const EncoderSettings& settings,
                                           const ProfileLookup& profile, const FileExistsTest& exists,
                                           char separator)
{
    std::set<std::string> given;
    const FileExistsTest taken = [&](const std::string& path) {
        return given.count(path) != 0 || exists(path);
    };
    std::vector<EncoderLine> lines;
    lines.reserve(rows.size());
    for (const VideoRow& row : rows) {
        lines.push_back(BuildEncoderArguments(row, settings, profile, taken, separator));
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

std::string ShellQuote(std::string_view text)
{
    const bool plain =
        !text.empty() && text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                                "0123456789_@%+=:,./-") == std::string_view::npos;
    return plain ? std::string(text) : ShellQuotePath(text);
}

std::string ShellQuotePath(std::string_view path)
{
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
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
