// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LocalTime.h"

namespace zantrove {

std::tm LocalTime(std::chrono::system_clock::time_point when)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    if (::localtime_r(&t, &local) == nullptr)
        return std::tm{};
    return local;
}

} // namespace zantrove
