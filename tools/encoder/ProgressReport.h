// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

// One block of ffmpeg's "-progress" output. Unknown values stay negative.
struct ProgressBlock
{
    long long frame = 0;
    double fps = 0;
    double quality = -1;
    long long totalBytes = -1;
    double seconds = 0;
    double kbitsPerSecond = -1;
    double speed = -1;
    bool end = false;
};

// Collects "key=value" lines as they arrive in pieces; a block is complete at its "progress=" line.
class ProgressReader
{
public:
    std::vector<ProgressBlock> Feed(std::string_view chunk);

private:
    void TakeLine(std::string_view line, std::vector<ProgressBlock>& complete);

    std::string m_pending;
    ProgressBlock m_block;
    bool m_qualitySeen = false;
};

// The classic status line the progress window reads, ended by "\r": time is in seconds with a
// decimal point and followed by a blank.
std::string FormatProgressLine(const ProgressBlock& block);

} // namespace zantrove
