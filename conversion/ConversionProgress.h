// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/EncoderArguments.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

struct VideoRow;

// What a run has got to, read from the script's console output alone, one line a piece; its
// words are ProgressTexts'. It relies on the script's echo of each encoder line beginning with the quoted
// staged encoder, on the encoder's failure lines beginning with the source path and ":", and on "time="
// seconds in the encoder's progress lines. A file name is only data: what it spells is never taken for
// either.
class ConversionProgress
{
public:
    struct Row
    {
        std::string duration; // "hh:mm:ss"
        std::string filepath;
        std::string outputPath = {}; // the library helper names this one in its failures
    };
    // A progress reading within the file's length, in whole seconds.
    struct Reading
    {
        std::int32_t seconds = 0;
        std::int32_t length = 0;
    };

    // encoderLineStart: EncoderLineStart of the script's settings folder.
    ConversionProgress(std::vector<Row> rows, std::string encoderLineStart);
    // What the progress needs of each list row, with its output path when the lines are given.
    static std::vector<Row> RowsOf(const std::vector<VideoRow>& rows,
                                   const std::vector<EncoderLine>& lines = {});

    // One piece of console output. Returns true when it started the next file.
    bool HandleOutput(std::string_view data);
    void HandleEnd();

    const std::vector<Row>& Rows() const { return m_rows; }
    int FileNumber() const { return m_fileNumber; }
    const std::string& LogText() const { return m_logText; }
    const std::string& ErrorLog() const { return m_errorLog; }
    // What the components said was left out of a file that still converts ("Note: " lines), one
    // line each, after the source's path and ": ".
    const std::string& Notes() const { return m_notes; }
    // The encoder's last readable progress line; empty before the first.
    const std::string& ProgressLine() const { return m_progressLine; }
    // The last reading that did not pass its file's length; it stays when the next file starts.
    const std::optional<Reading>& LastReadingInFile() const { return m_lastReadingInFile; }
    std::int32_t CurrentValue() const { return m_currentValue; }
    std::int32_t CurrentMaximum() const { return m_currentMaximum; }
    // The encoder's time in the file with its fraction, up to CurrentMaximum: what the file's bar
    // shows, so that it moves before a whole second has passed.
    double CurrentSeconds() const { return m_currentSeconds; }
    int TotalValue() const { return m_totalValue; }
    int TotalMaximum() const { return m_totalMaximum; }
    bool Finished() const { return m_finished; }
    // How many progress values have been read so far.
    int Readings() const { return m_readings; }

    // "hh:mm:ss" as seconds in 32 bits, so ten hours and more still count right; 0 when unreadable.
    static std::int32_t DurationSeconds(std::string_view text);

private:
    const Row* CurrentRow() const;
    bool ContinuesEcho(std::string_view data);
    void TakeError(std::string_view data);
    void TakeNotes(std::string_view data);
    void TakeProgress(std::string_view firstLine);

    std::vector<Row> m_rows;
    std::string m_encoderLineStart;
    bool m_echoQuoteOpen = false; // an echoed name with a line break goes on in the next piece
    std::string m_errorStart;     // the pieces so far of an error line whose source has line breaks
    int m_fileNumber = 0;
    std::string m_logText;
    std::string m_errorLog;
    std::string m_notes;
    int m_erroredFile = 0; // the last file an error line was taken for
    std::string m_progressLine;
    std::optional<Reading> m_lastReadingInFile;
    std::int32_t m_currentValue = 0;
    std::int32_t m_currentMaximum = 100;
    double m_currentSeconds = 0;
    int m_totalValue = 0;
    int m_totalMaximum = 1;
    bool m_finished = false;
    int m_readings = 0;
};

} // namespace zantrove
