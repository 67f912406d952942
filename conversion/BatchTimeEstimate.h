// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Clock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zantrove {

struct VideoRow;

inline constexpr std::string_view kEstimatingText = "Estimating...";

// Elapsed time and the time left for the whole batch. Each file weighs its length in the output
// (the trimmed part for a trimmed row); the speed is the media time encoded per second so far.
class BatchTimeEstimate
{
public:
    BatchTimeEstimate(std::vector<std::int32_t> fileSeconds, const Clock& clock);

    // The lengths the batch encodes: the trimmed length of a trimmed row, else its duration.
    static std::vector<std::int32_t> OutputSeconds(const std::vector<VideoRow>& rows);

    void Start();
    // fileNumber is 1-based; secondsDone is the position inside that file's output.
    void Progress(int fileNumber, std::int32_t secondsDone);
    void Finish();

    std::chrono::seconds Elapsed() const;
    // Nothing until two readings have been made (or when nothing has been encoded yet).
    std::optional<std::chrono::seconds> Remaining() const;
    // "Elapsed: 00:01:05 - Time left: 00:03:20", or "... - Time left: Estimating...".
    std::string Text() const;

private:
    double MediaDone() const;

    std::vector<std::int32_t> m_fileSeconds;
    double m_totalSeconds = 0;
    const Clock& m_clock;
    std::chrono::system_clock::time_point m_start{};
    std::chrono::system_clock::time_point m_lastReading{};
    bool m_started = false;
    bool m_finished = false;
    int m_readings = 0;
    int m_fileNumber = 0;
    std::int32_t m_secondsDone = 0;
};

} // namespace zantrove
