// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Clock.h"

#include <string>

namespace zantrove {

// The debug log switched on by "/debug". Debug mode is on exactly when LogPath() is not empty.
class DebugLog
{
public:
    enum Mode
    {
        LogToFile = 2,
    };
    enum EntryType
    {
        Information = 4,
    };

    explicit DebugLog(const Clock& clock = Clock::System());

    void StartLogging(const std::string& file, int mode);
    // One line per entry: time stamp, entry type, text. Line breaks in text are kept on one line.
    void LogEvent(const std::string& text, int entryType);
    const std::string& LogPath() const { return m_path; }

    // "ddmmyyyyhhmmss.log" for the clock's local time.
    static std::string FileNameFor(std::chrono::system_clock::time_point when);
    // The local date and time in the user's usual form.
    static std::string DateTimeText(std::chrono::system_clock::time_point when);

private:
    const Clock& m_clock;
    std::string m_path;
};

// The one log of the running program.
DebugLog& ApplicationLog();

} // namespace zantrove
