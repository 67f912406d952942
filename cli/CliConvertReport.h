// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Cli.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zantrove {

class BatchTimeEstimate;
class ConversionProgress;

// What convert tells while it runs. A terminal gets one line a file and a bar redrawn in place
// below them; a pipe or file gets only the lines, so logs stay readable; quiet leaves errors and the
// summary. Every message about one file names its source.
class CliConvertReport
{
public:
    CliConvertReport(CliContext& context, std::vector<std::string> sources, bool quiet);

    // After each piece of the script's output; started: the piece began the next file.
    void Update(const ConversionProgress& progress, const BatchTimeEstimate& estimate, bool started);
    // One error line, "zantrove-cli: " + text, with the bar cleared first.
    void Error(const std::string& text);
    // Clears the bar, so what follows starts on a line of its own.
    void EndProgress();
    // The entries the judged outcome's error log adds to the run's own (missing or empty outputs).
    void JudgedErrors(const std::string& errorLog);
    // "N of M files converted" on its own line, with ", K failed" when some did; M counts the files
    // refused before the run too. Files without a picture are counted after it: "(1 as sound alone)".
    void Summary(int converted, int failed, int refused = 0, int soundOnly = 0);

private:
    void TakeNewErrors(const std::string& log, const std::string& source);
    void ClearBar();
    // Names escaped on a terminal, where a control character would split or restyle the line.
    std::string Shown(const std::string& text) const;

    CliContext& m_context;
    std::vector<std::string> m_sources;
    bool m_quiet;
    std::size_t m_errorsRead = 0; // characters of the progress's error log already reported
    std::size_t m_notesRead = 0;  // characters of the progress's notes already reported
    std::size_t m_barLength = 0;  // the bar on screen now, 0 when none is
};

} // namespace zantrove
