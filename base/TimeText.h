// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zantrove {

// At least two digits: 7 -> "07", 123 -> "123".
std::string TwoDigits(std::int64_t value);
// "hh:mm:ss" with at least two digits each; hours have no upper bound (360000 -> "100:00:00").
std::string FormatSeconds(std::int32_t seconds);
// hours ":" minutes ":" seconds, each a whole number of 0 or more, as seconds; nullopt otherwise.
std::optional<std::int64_t> ParseClockTime(std::string_view text);

} // namespace zantrove
