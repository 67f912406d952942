// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/EncoderSettings.h"
#include "conversion/OutputNaming.h"
#include "devices/ProfileFile.h"

#include <string>
#include <vector>

namespace zantrove {

struct VideoRow;

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

// The encoder's arguments for one row. Every step stands alone: one whose value cannot be read is
// left out and the rest is still built.
EncoderLine BuildEncoderArguments(const VideoRow& row, const EncoderSettings& settings,
                                  const ProfileLookup& profile, const FileExistsTest& exists);

// The lines of a whole run, in row order. An output path given to an earlier row counts as taken,
// so nothing one run writes replaces another file of the same run.
std::vector<EncoderLine> BuildEncoderLines(const std::vector<VideoRow>& rows, const EncoderSettings& settings,
                                           const ProfileLookup& profile, const FileExistsTest& exists);

// The one-line text: arguments joined by blanks, source and output in double quotes.
std::string RenderArgumentLine(const EncoderLine& line);
// The same arguments for a POSIX shell: paths always single-quoted, the rest where it needs it.
std::string RenderShellArguments(const EncoderLine& line);

} // namespace zantrove
