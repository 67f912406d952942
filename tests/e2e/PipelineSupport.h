// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/support/CliRun.h"

#include <climits>
#include <string>
#include <vector>

namespace zantrove::test {

// zantrove-cli convert's arguments: the device, the output folder, then the rest as given.
std::vector<std::string> ConvertArguments(const std::string& device, const std::string& output,
                                          const std::vector<std::string>& rest);
// The same with the iPod nano's fast profile (MPEG-4 with sound): the quickest real conversion.
std::vector<std::string> FastConvertArguments(const std::string& output,
                                              const std::vector<std::string>& files);
// zantrove-cli convert of the sources for the device into the output folder.
CliRun Convert(const std::string& device, const std::string& output, const std::vector<std::string>& sources);
// The one file in the folder named after the source, whatever its extension; empty when none is.
std::string OutputOf(const std::string& folder, const std::string& sourceName);

// ffprobe's "key=value" lines for the entries, of the streams selected (none: the whole file).
std::string Probe(const std::string& path, const std::string& entries, const std::string& streams = "v");
// The first value of key in such lines; empty when there is none.
std::string Entry(const std::string& probed, const std::string& key);
// "30000/1001" or "25" as frames a second; 0 when unreadable.
double RateValue(const std::string& text);

// Frames of the picture stream (the first that is no cover), in gray, one byte a pixel.
struct Frames
{
    int width = 0, height = 0;
    std::string bytes;
    std::size_t Count() const { return width > 0 && height > 0 ? bytes.size() / (width * height) : 0; }
    unsigned char At(std::size_t frame, int x, int y) const
    {
        return static_cast<unsigned char>(bytes[(frame * height + y) * width + x]);
    }
};
// From at (seconds; empty: the start), at most count frames (0: all), scaled to width x height (0: as is).
Frames Decode(const std::string& path, const std::string& at = "", int count = 0, int width = 0,
              int height = 0);

struct Box
{
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    void Add(int x, int y);
    bool Empty() const { return right < 0; }
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};
// The box around every pixel of the frame brighter than level.
Box BrightBox(const Frames& frames, std::size_t frame, int level);

} // namespace zantrove::test
