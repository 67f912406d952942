// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/BatchTimeEstimate.h"

#include "base/TimeText.h"
#include "conversion/ConversionProgress.h"
#include "media/VideoListModel.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zantrove {

BatchTimeEstimate::BatchTimeEstimate(std::vector<std::int32_t> fileSeconds, const Clock& clock)
    : m_fileSeconds(std::move(fileSeconds)), m_clock(clock)
{
    m_totalSeconds = std::accumulate(m_fileSeconds.begin(), m_fileSeconds.end(), 0.0);
}

std::vector<std::int32_t> BatchTimeEstimate::OutputSeconds(const std::vector<VideoRow>& rows)
{
    std::vector<std::int32_t> seconds;
    seconds.reserve(rows.size());
    for (const VideoRow& row : rows) {
        const std::int32_t whole = ConversionProgress::DurationSeconds(row.duration);
        if (row.IsTrimmed()) {
            const std::int32_t start = ConversionProgress::DurationSeconds(row.beginTime);
            const std::int32_t end = ConversionProgress::DurationSeconds(row.endTime);
            seconds.push_back(end > start ? end - start : whole);
        } else {
            seconds.push_back(whole);
        }
    }
    return seconds;
}

void BatchTimeEstimate::Start()
{
    m_start = m_clock.Now();
    m_lastReading = m_start;
    m_started = true;
}

void BatchTimeEstimate::Progress(int fileNumber, std::int32_t secondsDone)
{
    if (!m_started)
        Start();
    m_fileNumber = fileNumber;
    m_secondsDone = std::max<std::int32_t>(secondsDone, 0);
    m_lastReading = m_clock.Now();
    ++m_readings;
}

void BatchTimeEstimate::Finish()
{
    m_finished = true;
    m_lastReading = m_clock.Now();
}

double BatchTimeEstimate::MediaDone() const
{
    double done = 0;
    for (int i = 0; i + 1 < m_fileNumber && i < static_cast<int>(m_fileSeconds.size()); ++i)
        done += m_fileSeconds[static_cast<std::size_t>(i)];
    if (m_fileNumber >= 1 && m_fileNumber <= static_cast<int>(m_fileSeconds.size()))
        done += std::min(m_secondsDone, m_fileSeconds[static_cast<std::size_t>(m_fileNumber - 1)]);
    return done;
}

std::chrono::seconds BatchTimeEstimate::Elapsed() const
{
    if (!m_started)
        return std::chrono::seconds(0);
    const auto end = m_finished ? m_lastReading : m_clock.Now();
    return std::chrono::duration_cast<std::chrono::seconds>(end - m_start);
}

std::optional<std::chrono::seconds> BatchTimeEstimate::Remaining() const
{
    if (m_finished)
        return std::chrono::seconds(0);
    const double done = MediaDone();
    const double spent = std::chrono::duration<double>(m_lastReading - m_start).count();
    if (m_readings < 2 || done <= 0 || spent <= 0)
        return std::nullopt;
    const double speed = done / spent; // media seconds per second
    const double left = std::max(0.0, m_totalSeconds - done) / speed;
    // Time since the last reading is already spent on what is left.
    const double sinceReading = std::chrono::duration<double>(m_clock.Now() - m_lastReading).count();
    return std::chrono::seconds(static_cast<std::int64_t>(std::ceil(std::max(0.0, left - sinceReading))));
}

std::string BatchTimeEstimate::Text() const
{
    const auto clock = [](std::chrono::seconds s) {
        return FormatSeconds(static_cast<std::int32_t>(std::min<std::int64_t>(s.count(), INT32_MAX)));
    };
    const auto remaining = Remaining();
    return "Elapsed: " + clock(Elapsed()) +
           " - Time left: " + (remaining ? clock(*remaining) : std::string(kEstimatingText));
}

} // namespace zantrove
