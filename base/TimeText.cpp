// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TimeText.h"

#include "base/TextUtilities.h"

namespace zantrove {

std::string TwoDigits(std::int64_t value)
{
    return (value >= 0 && value < 10 ? "0" : "") + std::to_string(value);
}

std::string FormatSeconds(std::int32_t seconds)
{
    if (seconds < 0)
        seconds = 0;
    return TwoDigits(seconds / 3600) + ":" + TwoDigits((seconds / 60) % 60) + ":" + TwoDigits(seconds % 60);
}

std::optional<std::int64_t> ParseClockTime(std::string_view text)
{
    std::int64_t seconds = 0;
    for (int part = 0; part < 3; ++part) {
        const std::size_t colon = part < 2 ? text.find(':') : text.size();
        if (colon == std::string_view::npos)
            return std::nullopt;
        const auto value = ParseInt32(text.substr(0, colon));
        if (!value || *value < 0)
            return std::nullopt;
        seconds = seconds * 60 + *value;
        text.remove_prefix(part < 2 ? colon + 1 : colon);
    }
    return seconds;
}

} // namespace zantrove
