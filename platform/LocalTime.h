// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <ctime>

namespace zantrove {

// The calendar time in the user's time zone; every field is zero when the system cannot convert it.
std::tm LocalTime(std::chrono::system_clock::time_point when);

} // namespace zantrove
