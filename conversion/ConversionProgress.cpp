// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionProgress.h"

#include "conversion/ConversionScript.h"
#include "media/VideoListModel.h"
#include "storage/FileUtilities.h"
#include "storage/TextUtilities.h"

#include <charconv>
#include <cmath>

namespace zantrove {

ConversionProgress::ConversionProgress(std::vector<Row> rows)
    : m_rows(std::move(rows)), m_totalMaximum(static_cast<int>(m_rows.size()) + 1)
{
}

std::vector<ConversionProgress::Row> ConversionProgress::RowsOf(const std::vector<VideoRow>& rows,
                                                                const std::vector<EncoderLine>& lines)
{
    std::vector<Row> progressRows;
    progressRows.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        progressRows.push_back(
            {rows[i].duration, rows[i].filepath, i < lines.size() ? lines[i].outputPath : ""});
    return progressRows;
}

std::int32_t ConversionProgress::DurationSeconds(std::string_view text)
{
    const auto seconds = ParseClockTime(text);
    return seconds && *seconds <= INT32_MAX ? static_cast<std::int32_t>(*seconds) : 0;
}

std::string ConversionProgress::PercentText(std::int32_t value, std::int32_t maximum)
{
    if (maximum <= 0)
        return "0";
    const double percent = std::round(static_cast<double>(value) / maximum * 10000.0) / 100.0;
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, percent);
    return error == std::errc() ? std::string(buffer, end) : "0";
}

const ConversionProgress::Row* ConversionProgress::CurrentRow() const
{
    if (m_fileNumber < 1 || m_fileNumber > static_cast<int>(m_rows.size()))
        return nullptr;
    return &m_rows[static_cast<std::size_t>(m_fileNumber - 1)];
}

bool ConversionProgress::HandleOutput(std::string_view data)
{
    m_logText += data;
    const std::string_view firstLine = data.substr(0, data.find('\r'));

    // At most one file start per piece, however often the name occurs in it.
    const bool nextFile = data.find(kStagedEncoderName) != std::string_view::npos;
    if (nextFile) {
        ++m_fileNumber;
        m_currentFile = "Processing File: " + std::to_string(m_fileNumber) + " of " +
                        std::to_string(m_rows.size()) + "...";
        const Row* row = CurrentRow();
        const std::int32_t duration = row ? DurationSeconds(row->duration) : 0;
        m_currentValue = 0;
        if (duration != 0)
            m_currentMaximum = duration;
        m_totalValue = std::min(m_fileNumber, m_totalMaximum);
    }
    if (m_fileNumber != 0)
        TakeError(data);
    if (firstLine.find("time") != std::string_view::npos)
        TakeProgress(firstLine);
    return nextFile;
}

void ConversionProgress::TakeError(std::string_view data)
{
    const Row* row = CurrentRow();
    if (!row)
        return;
    const std::string& path = row->filepath;
    std::size_t at = data.find(path + ":");
    // The library helper names the output file; once the encoder has failed on this file, the
    // helper's word that the output is missing adds nothing.
    if (at == std::string_view::npos && !row->outputPath.empty() && m_erroredFile != m_fileNumber)
        at = data.find(row->outputPath + ":");
    if (at == std::string_view::npos)
        at = data.find("swScaler:");
    if (at == std::string_view::npos)
        return;
    std::string_view error = data.substr(at);
    // Lines end in LF here where a Windows console ends them in CR LF: either ends the message.
    const std::size_t end = error.find_first_of("\r\n", 1);
    const std::string text =
        end == std::string_view::npos ? path + ": unknown error" : std::string(error.substr(0, end));
    m_errorLog += "-" + text + "\r\n";
    m_erroredFile = m_fileNumber;
}

void ConversionProgress::TakeProgress(std::string_view firstLine)
{
    // A line that mentions "time" without a readable "time=" seconds value changes nothing.
    const std::size_t key = firstLine.find("time=");
    if (key == std::string_view::npos)
        return;
    const std::string_view rest = firstLine.substr(key + 5);
    const std::size_t blank = rest.find(' ');
    if (blank == std::string_view::npos)
        return;
    const std::string_view value = rest.substr(0, blank);
    const std::size_t point = value.find('.');
    if (point == std::string_view::npos)
        return;
    const auto seconds = ParseInt32(value.substr(0, point));
    // A time before the start is no progress; taken as it is, it would push the bars below empty.
    if (!seconds || *seconds < 0)
        return;

    m_status = std::string(firstLine.substr(0, firstLine.find_last_not_of("\r\n") + 1));
    ++m_readings;
    if (*seconds > m_currentMaximum) {
        m_currentValue = m_currentMaximum;
        return;
    }
    m_currentValue = *seconds;
    m_caption = std::string(kProcessingCaption) + "(" + PercentText(m_currentValue, m_currentMaximum) + "%)";
}

void ConversionProgress::HandleEnd()
{
    m_caption = std::string(kProcessingCaption) + std::string(kFinishedText);
    m_currentFile = kFinishedText;
    m_currentValue = m_currentMaximum;
    m_totalValue = m_totalMaximum;
    m_finished = true;
}

} // namespace zantrove
