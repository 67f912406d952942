// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conversion/EncoderArguments.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

struct VideoRow;

inline constexpr std::string_view kProcessingCaption = "Converting Video Files...";
inline constexpr std::string_view kInitializingText = "Initializing...";
inline constexpr std::string_view kFinishedText = "Finished!";
inline constexpr std::string_view kCancelCaption = "&Cancel";
inline constexpr std::string_view kCloseCaption = "&Close";

// What the progress window shows, worked out from the script's console output alone, one line a
// piece. It relies on the script's echo of each encoder line beginning with the quoted staged encoder,
// on the encoder's failure lines beginning with the source path and ":", and on "time=" seconds in the
// encoder's progress lines. A file name is only data: what it spells is never taken for either.
class ConversionProgress
{
public:
    struct Row
    {
        std::string duration; // "hh:mm:ss"
        std::string filepath;
        std::string outputPath = {}; // the library helper names this one in its failures
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
    const std::string& Caption() const { return m_caption; }
    const std::string& CurrentFileText() const { return m_currentFile; }
    const std::string& StatusText() const { return m_status; }
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
    const std::string& CancelButtonCaption() const { return m_finished ? m_close : m_cancel; }

    // "hh:mm:ss" as seconds in 32 bits, so ten hours and more still count right; 0 when unreadable.
    static std::int32_t DurationSeconds(std::string_view text);
    // value / maximum in percent, two decimals at most, no trailing zeros: "12.5", "50", "33.33".
    static std::string PercentText(std::int32_t value, std::int32_t maximum);

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
    std::string m_caption{kProcessingCaption};
    std::string m_currentFile{kInitializingText};
    std::string m_status{kInitializingText};
    std::int32_t m_currentValue = 0;
    std::int32_t m_currentMaximum = 100;
    double m_currentSeconds = 0;
    int m_totalValue = 0;
    int m_totalMaximum = 1;
    bool m_finished = false;
    int m_readings = 0;
    std::string m_cancel{kCancelCaption};
    std::string m_close{kCloseCaption};
};

} // namespace zantrove
