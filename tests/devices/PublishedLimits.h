// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <string_view>

namespace zantrove::test {

// H.264 as Apple lists it for the generations each profile file targets: the profile, the highest level,
// the reference frames (0: as many as the level's picture buffer holds), the peak rate (kbps) and its
// buffer (kbit), and the largest frame. Where Apple names no rate, the level's own ceiling stands; the
// iPods' 2000 kbit buffer is ours, a bit over a second at their 1.5 Mbps.
struct PublishedH264
{
    std::string_view device;
    int profileIdc, levelIdc, referenceFrames, peakKbps, bufferKbit, width, height;
};

inline constexpr PublishedH264 kPublishedH264[] = {
    {"iPod-Classic", 66, 30, 1, 1500, 2000, 640, 480}, // Low-Complexity Baseline
    {"iPod-Nano", 66, 30, 1, 1500, 2000, 640, 480},
    {"iPod-Touch", 77, 31, 0, 14000, 14000, 1280, 720}, // 4th generation on
    {"iPhone", 100, 41, 0, 62500, 78125, 1920, 1080},   // iPhone 4S on
    {"iPad", 100, 41, 0, 62500, 78125, 1920, 1080},     // 3rd generation on
};

inline const PublishedH264* FindPublishedH264(std::string_view device)
{
    const auto* found = std::ranges::find(kPublishedH264, device, &PublishedH264::device);
    return found == std::end(kPublishedH264) ? nullptr : found;
}

} // namespace zantrove::test
