// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionProgress.h"

#include "base/TextUtilities.h"
#include "base/TimeText.h"
#include "conversion/ConversionScript.h"
#include "media/VideoListModel.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <charconv>

namespace zantrove {

namespace {
constexpr std::string_view kScalerErrorStart = "swScaler:";

// Whether single quotes stay open after text of a line the script quoted as the shell reads it.
bool QuoteOpenAfter(std::string_view text, bool open)
{
    bool escaped = false;
    for (const char c : text) {
        if (open)
            open = c != '\'';
        else if (escaped)
            escaped = false;
        else if (c == '\\')
            escaped = true;
        else if (c == '\'')
            open = true;
    }
    return open;
}

// ffmpeg's "[name @ 0x...] " in front of a message.
std::string_view WithoutLogContext(std::string_view line)
{
    if (line.starts_with('[')) {
        if (const std::size_t close = line.find("] "); close != std::string_view::npos)
            return line.substr(close + 2);
    }
    return line;
}
} // namespace

ConversionProgress::ConversionProgress(std::vector<Row> rows, std::string encoderLineStart)
    : m_rows(std::move(rows)), m_encoderLineStart(std::move(encoderLineStart)),
      m_totalMaximum(static_cast<int>(m_rows.size()) + 1)
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

const ConversionProgress::Row* ConversionProgress::CurrentRow() const
{
    if (m_fileNumber < 1 || m_fileNumber > static_cast<int>(m_rows.size()))
        return nullptr;
    return &m_rows[static_cast<std::size_t>(m_fileNumber - 1)];
}

bool ConversionProgress::HandleOutput(std::string_view data)
{
    m_logText += data;
    if (ContinuesEcho(data))
        return false;
    const std::string_view firstLine = data.substr(0, data.find('\r'));

    // Only the echo of an encoder line starts the next file: the encoder's name inside a file name
    // or elsewhere in the output does not.
    const bool nextFile = !m_encoderLineStart.empty() && data.starts_with(m_encoderLineStart);
    if (nextFile) {
        m_echoQuoteOpen = QuoteOpenAfter(data, false);
        ++m_fileNumber;
        const Row* row = CurrentRow();
        const std::int32_t duration = row ? DurationSeconds(row->duration) : 0;
        m_currentValue = 0;
        m_currentSeconds = 0;
        if (duration != 0)
            m_currentMaximum = duration;
        m_totalValue = std::min(m_fileNumber, m_totalMaximum);
    }
    if (m_fileNumber != 0) {
        TakeError(data);
        TakeNotes(data);
    }
    if (firstLine.find("time") != std::string_view::npos)
        TakeProgress(firstLine);
    return nextFile;
}

bool ConversionProgress::ContinuesEcho(std::string_view data)
{
    if (!m_echoQuoteOpen)
        return false;
    m_echoQuoteOpen = QuoteOpenAfter(data, true);
    return true;
}

void ConversionProgress::TakeError(std::string_view data)
{
    const Row* row = CurrentRow();
    if (!row)
        return;
    const std::string& path = row->filepath;
    const std::string errorStart = path + ":";
    std::string joined = std::move(m_errorStart) + std::string(data);
    m_errorStart.clear();
    // A line break in the source path splits its error line into several pieces.
    if (joined.size() < errorStart.size() && std::string_view(errorStart).starts_with(joined) &&
        joined.find_first_of("\r\n") != std::string::npos) {
        m_errorStart = std::move(joined);
        return;
    }
    // An error line begins with the source path, or is the scaler's; the words elsewhere in a line,
    // as in a file name, are no error. The library helper names the output file; once the encoder
    // has failed on this file, the helper's word that the output is missing adds nothing.
    const std::string outputStart =
        row->outputPath.empty() || m_erroredFile == m_fileNumber ? std::string() : row->outputPath + ":";
    std::string_view error;
    std::size_t searchFrom = 1;
    for (std::string_view rest = joined; !rest.empty();) {
        const std::size_t lineEnd = rest.find_first_of("\r\n");
        if (rest.starts_with(errorStart)) {
            error = rest;
            searchFrom = errorStart.size();
            break;
        }
        if (!outputStart.empty() && rest.starts_with(outputStart)) {
            error = rest;
            searchFrom = outputStart.size();
            break;
        }
        if (const std::string_view message = WithoutLogContext(rest);
            message.starts_with(kScalerErrorStart)) {
            error = message;
            break;
        }
        rest = lineEnd == std::string_view::npos ? std::string_view() : rest.substr(lineEnd + 1);
    }
    if (error.empty())
        return;
    // The script's word on the encoder's status adds nothing to the encoder's own error line.
    if (m_erroredFile == m_fileNumber && error.starts_with(errorStart) &&
        error.substr(errorStart.size()).starts_with(" " + std::string(kEncoderStatusText)))
        return;
    // Lines end in LF here where a Windows console ends them in CR LF: either ends the message.
    const std::size_t end = error.find_first_of("\r\n", searchFrom);
    const std::string text =
        end == std::string_view::npos ? path + ": unknown error" : std::string(error.substr(0, end));
    m_errorLog += "-" + text + "\r\n";
    m_erroredFile = m_fileNumber;
}

void ConversionProgress::TakeNotes(std::string_view data)
{
    static constexpr std::string_view kNoteStart = "Note: ";
    const Row* row = CurrentRow();
    for (std::size_t at = data.find(kNoteStart); row && at != std::string_view::npos;
         at = data.find(kNoteStart, at + 1)) {
        if (at != 0 && data[at - 1] != '\n' && data[at - 1] != '\r')
            continue;
        const std::string_view text = data.substr(at + kNoteStart.size());
        m_notes += row->filepath + ": " + std::string(text.substr(0, text.find_first_of("\r\n"))) + "\n";
    }
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

    m_progressLine = std::string(firstLine.substr(0, firstLine.find_last_not_of("\r\n") + 1));
    ++m_readings;
    double exact = *seconds;
    std::from_chars(value.data(), value.data() + value.size(), exact);
    m_currentSeconds = std::min(exact, static_cast<double>(m_currentMaximum));
    if (*seconds > m_currentMaximum) {
        m_currentValue = m_currentMaximum;
        return;
    }
    m_currentValue = *seconds;
    m_lastReadingInFile = Reading{m_currentValue, m_currentMaximum};
}

void ConversionProgress::HandleEnd()
{
    m_currentValue = m_currentMaximum;
    m_currentSeconds = m_currentMaximum;
    m_totalValue = m_totalMaximum;
    m_finished = true;
}

} // namespace zantrove
