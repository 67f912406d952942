// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Expected.h"
#include "conversion/EncoderArguments.h"
#include "conversion/EncoderSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zantrove {

struct VideoRow;

// The moment a preview shows unless another is picked: the trim's start, else the beginning.
std::int64_t DefaultPreviewMoment(const VideoRow& row);

// The conversion's own encoder line for the row with the output swapped for picturePath (*.png,
// which asks the encoder for one picture) and the start moved to atSeconds. The error says why a row
// has no picture to show.
Expected<EncoderLine, std::string> PreviewEncoderLine(const VideoRow& row, const EncoderSettings& settings,
                                                      const ProfileLookup& profile, std::int64_t atSeconds,
                                                      const std::string& picturePath);

// The source's frame as a player shows it: the same encoder scales it to its displayed size, upright,
// progressive, with square pixels.
EncoderLine SourcePictureLine(const VideoRow& row, std::int64_t atSeconds, const std::string& picturePath);

struct PreviewPicture
{
    std::string path;
    int width = 0;
    int height = 0;
    std::string frameRate; // as the encoder gives it: "25", "24000/1001"; empty when it did not say
};

// The encoder's answer to a picture line: its status and what it printed.
struct PictureRun
{
    int exitCode = -1;
    std::string output;
};

// The picture the encoder wrote, or why there is none, from its status and output.
Expected<PreviewPicture, std::string> ReadPictureResult(const EncoderLine& line, const PictureRun& run);

// The width and height in a PNG file's header.
std::optional<std::pair<int, int>> ReadPngSize(const std::string& path);

// "25 fps", "23.976 fps" for a rate as the encoder writes it.
std::string ShownFrameRate(const std::string& rate);

// Runs the staged or installed encoder component on a picture line and waits for it.
Expected<PreviewPicture, std::string> RenderPicture(const std::string& component, const EncoderLine& line);

// The encoder component of an installation.
std::string EncoderComponentPath(const std::string& applicationFolder);

} // namespace zantrove
