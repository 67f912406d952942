// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TextUtilities.h"
#include "conversion/EncoderSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zantrove {

struct VideoRow;

// What a file will take on the disk once converted: the rates the encoder is given times the output's
// length (the trimmed part of a trimmed row), plus the container's share. Unknown with same quality
// on, where no rate is set, and for a row without a readable duration.
std::optional<std::uint64_t> EstimateOutputBytes(const VideoRow& row, const EncoderSettings& settings);

struct BatchSizeEstimate
{
    std::vector<std::optional<std::uint64_t>> files; // row order
    std::uint64_t knownBytes = 0;                    // the sum of the known ones
    int unknownFiles = 0;
};

BatchSizeEstimate EstimateBatchBytes(const std::vector<VideoRow>& rows, const EncoderSettings& settings);

// "about 12.3 MB", with the files that could not be counted named: "about 12.3 MB (and 2 files at
// same quality or of unknown length)"; "unknown" when none could.
std::string BatchSizeText(const BatchSizeEstimate& batch);

} // namespace zantrove
