// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

namespace zantrove {

// Time source that tests replace, so time-dependent behaviour is checked without waiting.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point Now() const = 0;

    static const Clock& System();
};

} // namespace zantrove
