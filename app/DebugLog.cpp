// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DebugLog.h"

#include "platform/LocalTime.h"

#include <ctime>
#include <fstream>
#include <iomanip>
#include <locale>
#include <sstream>

namespace zantrove {

namespace {
std::string Format(std::chrono::system_clock::time_point when, const char* pattern, const std::locale& locale)
{
    const std::tm local = LocalTime(when);
    std::ostringstream text;
    text.imbue(locale);
    text << std::put_time(&local, pattern);
    return text.str();
}

std::locale UserLocale()
{
    try {
        return std::locale("");
    } catch (const std::exception&) {
        return std::locale::classic();
    }
}
} // namespace

DebugLog::DebugLog(const Clock& clock) : m_clock(clock) {}

void DebugLog::StartLogging(const std::string& file, int mode)
{
    if (mode != LogToFile)
        return;
    std::ofstream create(file, std::ios::app);
    m_path = file;
}

void DebugLog::LogEvent(const std::string& text, int entryType)
{
    if (m_path.empty())
        return;
    std::string oneLine = text;
    for (char& c : oneLine) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    std::ofstream out(m_path, std::ios::app | std::ios::binary);
    out << Format(m_clock.Now(), "%Y-%m-%d %H:%M:%S", std::locale::classic()) << '\t'
        << (entryType == Information ? "Information" : "Entry " + std::to_string(entryType)) << '\t'
        << oneLine << '\n';
}

std::string DebugLog::FileNameFor(std::chrono::system_clock::time_point when)
{
    return Format(when, "%d%m%Y%H%M%S", std::locale::classic()) + ".log";
}

std::string DebugLog::DateTimeText(std::chrono::system_clock::time_point when)
{
    return Format(when, "%x %X", UserLocale());
}

DebugLog& ApplicationLog()
{
    static DebugLog log;
    return log;
}

} // namespace zantrove
