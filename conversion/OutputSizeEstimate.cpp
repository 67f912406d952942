// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/OutputSizeEstimate.h"

#include "base/TimeText.h"
#include "conversion/BatchTimeEstimate.h"
#include "media/AddFilesFlow.h"
#include "media/VideoListModel.h"

#include <charconv>

namespace zantrove {

namespace {

// The encoder is given 50 below the video rate picked.
constexpr double kVideoRateGiven = -50;
// The container's indexes and headers: a share of the data, and a few kilobytes for the headers.
constexpr double kContainerShare = 0.012;
constexpr double kContainerBytes = 4096;

// The number before " kbps"; nullopt when there is none.
std::optional<double> Kbps(const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop == text.data())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::uint64_t> EstimateOutputBytes(const VideoRow& row, const EncoderSettings& settings)
{
    const std::int32_t seconds = BatchTimeEstimate::OutputSeconds({row}).front();
    if (seconds <= 0)
        return std::nullopt;
    const bool video = !settings.videoOff && !(!settings.audioOff && IsSoundOnlyRow(row));
    double kbps = 0;
    if (video) {
        const auto rate = Kbps(settings.videoBitrate);
        if (settings.sameQuality || !rate)
            return std::nullopt;
        kbps += std::max(*rate + kVideoRateGiven, 0.0);
    }
    if (!settings.audioOff) {
        const auto rate = Kbps(settings.audioBitrate);
        if (!rate)
            return std::nullopt;
        kbps += *rate;
    }
    const double data = kbps * 1000 / 8 * seconds;
    return static_cast<std::uint64_t>(data * (1 + kContainerShare) + kContainerBytes);
}

BatchSizeEstimate EstimateBatchBytes(const std::vector<VideoRow>& rows, const EncoderSettings& settings)
{
    BatchSizeEstimate batch;
    for (const VideoRow& row : rows) {
        batch.files.push_back(EstimateOutputBytes(row, settings));
        if (batch.files.back())
            batch.knownBytes += *batch.files.back();
        else
            ++batch.unknownFiles;
    }
    return batch;
}

std::string BatchSizeText(const BatchSizeEstimate& batch)
{
    if (batch.unknownFiles == static_cast<int>(batch.files.size()))
        return "unknown";
    std::string text = "about " + FormatByteSize(batch.knownBytes);
    if (batch.unknownFiles > 0)
        text += " (and " + std::to_string(batch.unknownFiles) +
                (batch.unknownFiles == 1 ? " file" : " files") + " at same quality or of unknown length)";
    return text;
}

} // namespace zantrove
