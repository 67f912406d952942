// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zantrove {

inline constexpr std::string_view kShutdownCaption = "Shutdown Computer";
inline constexpr std::string_view kShutdownSubtitle = "Shutdown your computer automatically...";
inline constexpr std::string_view kShutdownCancelCaption = "&Cancel";
inline constexpr std::string_view kShutdownFailedText = "The computer could not be shut down.";
inline constexpr std::string_view kShuttingDownText = "Shutting down computer...";

// What the countdown window shows after a tick.
struct ShutdownView
{
    std::string label;
    int secondsPassed = 0; // the progress bar's value
    bool red = false;      // the label painted pure red
    bool cancelEnabled = true;
    bool timerRunning = true;
    bool requestShutdown = false; // true on exactly one tick: ask the system to power off now
};

// The one-minute countdown before the automatic shutdown. The seconds passed are its only state;
// the shutdown is asked for one tick after the label reached 0, never twice.
class ShutdownCountdown
{
public:
    static constexpr int kSeconds = 60;

    // The text for `remaining` seconds, with "second" for exactly one.
    static std::string CountdownText(int remaining);

    // What the window shows when it opens.
    ShutdownView Opening() const;
    // One second has passed.
    ShutdownView Tick();

    bool ShuttingDown() const { return m_shuttingDown; }

private:
    ShutdownView Current() const;

    int m_secondsPassed = 0;
    bool m_shuttingDown = false;
};

} // namespace zantrove
