// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Clock.h"

namespace zantrove {

namespace {
class SystemClock : public Clock
{
public:
    std::chrono::system_clock::time_point Now() const override { return std::chrono::system_clock::now(); }
};
} // namespace

const Clock& Clock::System()
{
    static const SystemClock clock;
    return clock;
}

} // namespace zantrove
