// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/EncoderSettings.h"
#include "platform/FileSystem.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

struct VideoRow;

// One key of the profile section named by a codec, "" when missing.
using ProfileLookup = std::function<std::string(std::string_view section, std::string_view key)>;
// True only for an existing path that is not a folder.
using FileExistsTest = std::function<bool(const std::string& path)>;

// Reads the given profile file once, when made: one lookup serves one operation, such as one start.
ProfileLookup ProfileFileLookup(std::string file);

// Words as a shell reads them, without any expansion: blanks part them, quotes group ("title=A B"
// stays one word), a backslash takes the next character as it is.
std::vector<std::string> SplitShellWords(std::string_view text);

struct EncoderArgument
{
    std::string text;
    bool path = false; // the source or the output: shown in double quotes on the one-line form
    friend bool operator==(const EncoderArgument&, const EncoderArgument&) = default;
};

struct EncoderLine
{
    std::vector<EncoderArgument> arguments;
    std::string outputPath;
    std::string sourcePath = {}; // names the encoder's status when it fails
};

// Size, pad and crop options that fit a source of sourceSize ("WxH", as displayed) into targetSize
// keeping its proportions: bars above and below for a wider source, a strip of rows cut for a
// slightly narrower one, bars at the sides for a much narrower one. Empty when the source size is 0,
// either size cannot be read, or a scaled size does not fit 16 bits.
std::vector<std::string> FitToTargetSize(std::string_view sourceSize, std::string_view targetSize);

// folder + separator + name + "." + extension; "name (2).ext", "(3)", ... while that path is taken.
std::string ChooseOutputPath(const std::string& folder, const std::string& baseName,
                             const std::string& extension, const FileExistsTest& exists,
                             char separator = kPathSeparator);

// The encoder's arguments for one row. Every step stands alone: one whose value cannot be read is
// left out and the rest is still built.
EncoderLine BuildEncoderArguments(const VideoRow& row, const EncoderSettings& settings,
                                  const ProfileLookup& profile, const FileExistsTest& exists,
                                  char separator = kPathSeparator);

// The lines of a whole run, in row order. An output path given to an earlier row counts as taken,
// so nothing one run writes replaces another file of the same run.
std::vector<EncoderLine> BuildEncoderLines(const std::vector<VideoRow>& rows, const EncoderSettings& settings,
                                           const ProfileLookup& profile, const FileExistsTest& exists,
                                           char separator = kPathSeparator);

// The one-line text: arguments joined by blanks, source and output in double quotes.
std::string RenderArgumentLine(const EncoderLine& line);
// The same arguments for a POSIX shell: paths always single-quoted, the rest where it needs it.
std::string RenderShellArguments(const EncoderLine& line);
std::string ShellQuote(std::string_view text);
// Always in single quotes, so a path reads the same in every script line.
std::string ShellQuotePath(std::string_view path);

} // namespace zantrove
