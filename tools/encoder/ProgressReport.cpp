// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/encoder/ProgressReport.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zantrove {

namespace {

// The encoder never leaves the "C" locale, so strtod reads ffmpeg's "." as it is meant.
bool ParseNumber(std::string_view text, double& value)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (text.empty() || text.substr(0, 3) == "N/A")
        return false;
    const std::string copy(text);
    char* end = nullptr;
    value = std::strtod(copy.c_str(), &end);
    return end != copy.c_str() && std::isfinite(value);
}

// A count as a whole number; false for one no count can hold (a cast would be undefined).
bool ParseWhole(std::string_view text, long long& value)
{
    double number = 0;
    if (!ParseNumber(text, number) || !(number > -9.2e18 && number < 9.2e18))
        return false;
    value = static_cast<long long>(number);
    return true;
}

// "hh:mm:ss.micro", possibly with a leading "-".
bool ParseClock(std::string_view text, double& seconds)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    double total = 0;
    while (true) {
        const std::size_t colon = text.find(':');
        double part = 0;
        if (!ParseNumber(text.substr(0, colon), part))
            return false;
        total = total * 60 + part;
        if (colon == std::string_view::npos)
            break;
        text.remove_prefix(colon + 1);
    }
    seconds = negative ? -total : total;
    return true;
}

} // namespace

std::vector<ProgressBlock> ProgressReader::Feed(std::string_view chunk)
{
    std::vector<ProgressBlock> complete;
    m_pending.append(chunk);
    std::size_t start = 0;
    for (std::size_t newline; (newline = m_pending.find('\n', start)) != std::string::npos;
         start = newline + 1)
        TakeLine(std::string_view(m_pending).substr(start, newline - start), complete);
    m_pending.erase(0, start);
    return complete;
}

void ProgressReader::TakeLine(std::string_view line, std::vector<ProgressBlock>& complete)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    double number = 0;
    if (key == "frame") {
        ParseWhole(value, m_block.frame);
    } else if (key == "fps" && ParseNumber(value, number)) {
        m_block.fps = number;
    } else if (key.substr(0, 7) == "stream_" && key.size() > 2 && key.substr(key.size() - 2) == "_q") {
        // The first video stream's quantiser, as ffmpeg's own status line shows.
        if (!m_qualitySeen && ParseNumber(value, number))
            m_block.quality = number;
        m_qualitySeen = true;
    } else if (key == "total_size") {
        ParseWhole(value, m_block.totalBytes);
    } else if (key == "out_time_us" && ParseNumber(value, number)) {
        m_block.seconds = number / 1e6;
    } else if (key == "out_time" && ParseClock(value, number)) {
        m_block.seconds = number;
    } else if (key == "bitrate" && ParseNumber(value, number)) {
        m_block.kbitsPerSecond = number;
    } else if (key == "speed" && ParseNumber(value, number)) {
        m_block.speed = number;
    } else if (key == "progress") {
        m_block.end = value == "end";
        // Before the first packet, and after seeking, ffmpeg may report a time below zero.
        if (m_block.seconds < 0)
            m_block.seconds = 0;
        complete.push_back(m_block);
        m_block = ProgressBlock();
        m_qualitySeen = false;
    }
}

std::string FormatProgressLine(const ProgressBlock& block)
{
    char buffer[256];
    std::string line;
    std::snprintf(buffer, sizeof buffer, "frame=%5lld fps=%3.*f q=%3.1f ", block.frame,
                  block.fps < 9.95 ? 1 : 0, block.fps, block.quality);
    line += buffer;
    if (block.totalBytes < 0)
        line += "size=N/A";
    else {
        std::snprintf(buffer, sizeof buffer, "size=%8.0fkB", static_cast<double>(block.totalBytes) / 1024.0);
        line += buffer;
    }
    std::snprintf(buffer, sizeof buffer, " time=%.2f ", block.seconds);
    line += buffer;
    if (block.kbitsPerSecond < 0)
        line += "bitrate=N/A";
    else {
        std::snprintf(buffer, sizeof buffer, "bitrate=%6.1fkbits/s", block.kbitsPerSecond);
        line += buffer;
    }
    if (block.speed < 0)
        line += " speed=N/A";
    else {
        std::snprintf(buffer, sizeof buffer, " speed=%4.3gx", block.speed);
        line += buffer;
    }
    return line + "\r";
}

} // namespace zantrove
