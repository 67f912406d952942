// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ConversionRun.h"

#include "base/TimeText.h"
#include "conversion/ConversionScript.h"
#include "conversion/LibraryReport.h"
#include "conversion/ProcessTermination.h"
#include "platform/ConsoleLauncher.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace zantrove {

namespace {
// The script lies in the settings folder beside the staged encoder.
std::string FolderOf(const std::string& scriptPath)
{
    return scriptPath.substr(0, scriptPath.rfind(kPathSeparator));
}
} // namespace

ConversionRun::ConversionRun(std::vector<ConversionProgress::Row> rows, std::string scriptPath,
                             std::vector<std::int32_t> outputSeconds, const Clock& clock)
    : m_progress(std::move(rows), EncoderLineStart(FolderOf(scriptPath))),
      m_estimate(std::move(outputSeconds), clock), m_scriptPath(std::move(scriptPath)), m_clock(clock)
{
}

void ConversionRun::Start()
{
    m_estimate.Start();
    m_lastOutput = m_clock.Now();
}

std::chrono::seconds ConversionRun::Silence() const
{
    if (m_progress.Finished())
        return std::chrono::seconds(0);
    return std::max(std::chrono::seconds(0),
                    std::chrono::duration_cast<std::chrono::seconds>(m_clock.Now() - m_lastOutput));
}

std::string ConversionRun::SilenceText() const
{
    const std::chrono::seconds silence = Silence();
    if (silence < kEncoderSilenceLimit)
        return {};
    return "Nothing has been heard from the encoder for " +
           FormatSeconds(static_cast<std::int32_t>(std::min<std::int64_t>(silence.count(), INT32_MAX))) + ".";
}

std::string ConversionRun::SettingsFolder() const
{
    return FolderOf(m_scriptPath);
}

void ConversionRun::RemoveScript(bool keep) const
{
    // Nothing can be done about one that stays; it is never run again, since each run writes its own.
    if (!keep)
        (void)RemoveFile(m_scriptPath);
}

bool ConversionRun::HandleOutput(std::string_view piece)
{
    m_lastOutput = m_clock.Now();
    const int readings = m_progress.Readings();
    const bool started = m_progress.HandleOutput(piece);
    if (m_progress.Readings() != readings)
        m_estimate.Progress(m_progress.FileNumber(), m_progress.CurrentValue());
    return started;
}

void ConversionRun::HandleEnd()
{
    m_progress.HandleEnd();
    m_estimate.Finish();
    const auto& rows = m_progress.Rows();
    const bool allPaths = !rows.empty() && std::all_of(rows.begin(), rows.end(), [](const auto& row) {
        return !row.outputPath.empty();
    });
    if (allPaths)
        m_outcome = JudgedOutcome();
}

void ConversionRun::Cancel(ConsoleLauncher& launcher, Platform& platform) const
{
    // Read before the stop: a stopped launcher has no group left to search.
    const int group = launcher.ProcessGroup();
    launcher.Stop();
    TerminateProcessByName(platform, kStagedEncoderName, group);
}

BatchOutcome ConversionRun::JudgedOutcome() const
{
    if (m_outcome)
        return *m_outcome;
    std::vector<std::string> sources;
    std::vector<std::string> outputs;
    for (const ConversionProgress::Row& row : m_progress.Rows()) {
        sources.push_back(row.filepath);
        outputs.push_back(row.outputPath);
    }
    return JudgeBatch(sources, outputs, m_progress.ErrorLog());
}

const std::string& ConversionRun::ErrorLog() const
{
    return m_outcome ? m_outcome->errorLog : m_progress.ErrorLog();
}

std::string ConversionRun::LibraryPlaces() const
{
    return LibrarySummary(m_progress.LogText());
}

} // namespace zantrove
