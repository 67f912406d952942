// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Clock.h"
#include "conversion/BatchOutcome.h"
#include "conversion/BatchTimeEstimate.h"
#include "conversion/ConversionProgress.h"

#include <optional>
#include <string>
#include <vector>

namespace zantrove {

class ConsoleLauncher;
class Platform;

// How long the encoder may stay silent before the run says so: a stalled share or a hung process
// otherwise looks like a run that simply has not begun.
inline constexpr std::chrono::seconds kEncoderSilenceLimit{30};

// One run of a written script, as the progress window and the command line follow it: the console
// output through the progress parser, the time left, and at the end how the batch went.
class ConversionRun
{
public:
    // rows: one per script line, with their output paths when the outcome is to be judged by the
    // files left; outputSeconds: each row's length in the output, for the time left.
    ConversionRun(std::vector<ConversionProgress::Row> rows, std::string scriptPath,
                  std::vector<std::int32_t> outputSeconds = {}, const Clock& clock = Clock::System());

    const std::string& ScriptPath() const { return m_scriptPath; }
    // The settings folder, which holds the script and the staged components.
    std::string SettingsFolder() const;
    // Once the run is over: its script goes, unless the debug log keeps it to be looked at.
    void RemoveScript(bool keep) const;

    void Start();
    // One piece of console output; true when it started the next file.
    bool HandleOutput(std::string_view piece);
    // The script's process ended: the progress finishes and the batch is judged.
    void HandleEnd();
    // Ends the script that launcher runs for this run, and its staged encoder: its process group as a
    // whole, then the encoder by name within that group as a last resort. A conversion beside it keeps
    // its own encoder. No notification follows.
    void Cancel(ConsoleLauncher& launcher, Platform& platform) const;

    // Since the last piece of output (or the start) while the run goes on; 0 once it has ended.
    std::chrono::seconds Silence() const;
    // "Nothing has been heard from the encoder for 00:00:30." from kEncoderSilenceLimit on; else empty.
    std::string SilenceText() const;

    const ConversionProgress& Progress() const { return m_progress; }
    const BatchTimeEstimate& TimeEstimate() const { return m_estimate; }
    // Known once the run has ended, when every row has its output path.
    const std::optional<BatchOutcome>& Outcome() const { return m_outcome; }
    // The outcome, or when no output paths were given, one judged by the errors alone.
    BatchOutcome JudgedOutcome() const;
    // The run's error entries, with a line for each row whose output is missing once it has ended.
    const std::string& ErrorLog() const;
    // Where the library helper put the files, from its lines in the output; empty without any.
    std::string LibraryPlaces() const;

private:
    ConversionProgress m_progress;
    BatchTimeEstimate m_estimate;
    std::string m_scriptPath;
    const Clock& m_clock;
    std::chrono::system_clock::time_point m_lastOutput{};
    std::optional<BatchOutcome> m_outcome;
};

} // namespace zantrove
