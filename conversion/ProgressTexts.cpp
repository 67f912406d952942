// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ProgressTexts.h"

#include "conversion/ConversionProgress.h"

#include <charconv>
#include <cmath>

namespace zantrove {

std::string ProgressTexts::Caption() const
{
    if (m_progress.Finished())
        return std::string(kProcessingCaption) + std::string(kFinishedText);
    const auto& reading = m_progress.LastReadingInFile();
    if (!reading)
        return std::string(kProcessingCaption);
    return std::string(kProcessingCaption) + "(" + PercentText(reading->seconds, reading->length) + "%)";
}

std::string ProgressTexts::CurrentFile() const
{
    if (m_progress.Finished())
        return std::string(kFinishedText);
    if (m_progress.FileNumber() == 0)
        return std::string(kInitializingText);
    return "Processing File: " + std::to_string(m_progress.FileNumber()) + " of " +
           std::to_string(m_progress.Rows().size()) + "...";
}

std::string ProgressTexts::Status() const
{
    const std::string& line = m_progress.ProgressLine();
    return line.empty() ? std::string(kInitializingText) : line;
}

std::string_view ProgressTexts::ButtonCaption() const
{
    return m_progress.Finished() ? kCloseCaption : kCancelCaption;
}

std::string ProgressTexts::FilePercent() const
{
    return PercentText(m_progress.CurrentValue(), m_progress.CurrentMaximum());
}

std::string ProgressTexts::PercentText(std::int32_t value, std::int32_t maximum)
{
    if (maximum <= 0)
        return "0";
    const double percent = std::round(static_cast<double>(value) / maximum * 10000.0) / 100.0;
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, percent);
    return error == std::errc() ? std::string(buffer, end) : "0";
}

} // namespace zantrove
