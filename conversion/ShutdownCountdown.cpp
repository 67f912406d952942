// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ShutdownCountdown.h"

namespace zantrove {

std::string ShutdownCountdown::CountdownText(int remaining)
{
    return "Your computer will automatically shutdown in " + std::to_string(remaining) +
           (remaining == 1 ? " second..." : " seconds...");
}

ShutdownView ShutdownCountdown::Current() const
{
    ShutdownView view;
    view.secondsPassed = m_secondsPassed;
    if (m_shuttingDown) {
        view.label = std::string(kShuttingDownText);
        view.red = true;
        view.cancelEnabled = false;
        view.timerRunning = false;
    } else {
        view.label = CountdownText(kSeconds - m_secondsPassed);
    }
    return view;
}

ShutdownView ShutdownCountdown::Opening() const
{
    return Current();
}

ShutdownView ShutdownCountdown::Tick()
{
    if (m_shuttingDown)
        return Current();
    // The tick that finds the bar full is the one that shuts down, so "0 seconds" stays a second.
    if (m_secondsPassed == kSeconds) {
        m_shuttingDown = true;
        ShutdownView view = Current();
        view.requestShutdown = true;
        return view;
    }
    ++m_secondsPassed;
    return Current();
}

} // namespace zantrove
