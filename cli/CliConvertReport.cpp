// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliConvertReport.h"

#include "base/TextUtilities.h"
#include "conversion/BatchTimeEstimate.h"
#include "conversion/ConversionProgress.h"
#include "conversion/ProgressTexts.h"

#include <algorithm>

namespace zantrove {

namespace {
std::string Bar(std::int64_t value, std::int64_t maximum, int width)
{
    const int filled =
        maximum > 0 ? static_cast<int>(std::min<std::int64_t>(value, maximum) * width / maximum) : 0;
    return "[" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(width - filled), '-') + "]";
}
} // namespace

CliConvertReport::CliConvertReport(CliContext& context, std::vector<std::string> sources, bool quiet)
    : m_context(context), m_sources(std::move(sources)), m_quiet(quiet)
{
}

void CliConvertReport::Update(const ConversionProgress& progress, const BatchTimeEstimate& estimate,
                              bool started)
{
    const std::size_t file = static_cast<std::size_t>(std::max(progress.FileNumber(), 1) - 1);
    if (started && !m_quiet) {
        ClearBar();
        m_context.err << ProgressTexts(progress).CurrentFile() << ' '
                      << Shown(file < m_sources.size() ? m_sources[file] : std::string()) << '\n';
    }
    const std::size_t current = static_cast<std::size_t>(std::max(progress.FileNumber(), 1) - 1);
    TakeNewErrors(progress.ErrorLog(), current < m_sources.size() ? m_sources[current] : std::string());
    for (std::size_t end; (end = progress.Notes().find('\n', m_notesRead)) != std::string::npos;
         m_notesRead = end + 1) {
        ClearBar();
        m_context.err << "zantrove-cli: note: "
                      << Shown(progress.Notes().substr(m_notesRead, end - m_notesRead)) << '\n';
    }
    if (m_quiet || !m_context.errIsTerminal || progress.FileNumber() == 0)
        return;
    // Within 80 columns, so the carriage return redraws one line; the lines above count the files.
    const std::string bar = Bar(progress.CurrentValue(), progress.CurrentMaximum(), 24) + ' ' +
                            ProgressTexts(progress).FilePercent() + "%  " + estimate.Text();
    m_context.err << '\r' << bar << std::string(m_barLength > bar.size() ? m_barLength - bar.size() : 0, ' ')
                  << std::flush;
    m_barLength = bar.size();
}

void CliConvertReport::TakeNewErrors(const std::string& log, const std::string& source)
{
    // Each entry is "-" + text + CR LF; most texts start with the source, the scaler's do not.
    for (std::size_t end; (end = log.find("\r\n", m_errorsRead)) != std::string::npos;
         m_errorsRead = end + 2) {
        std::string text = log.substr(m_errorsRead, end - m_errorsRead);
        if (text.starts_with('-'))
            text.erase(0, 1);
        if (!source.empty() && !text.starts_with(source + ":"))
            text = source + ": " + text;
        Error(text);
    }
}

void CliConvertReport::JudgedErrors(const std::string& errorLog)
{
    TakeNewErrors(errorLog, {});
}

void CliConvertReport::Error(const std::string& text)
{
    ClearBar();
    m_context.err << "zantrove-cli: " << Shown(text) << '\n';
}

std::string CliConvertReport::Shown(const std::string& text) const
{
    return m_context.errIsTerminal ? EscapeForTerminal(text) : text;
}

void CliConvertReport::EndProgress()
{
    ClearBar();
}

void CliConvertReport::ClearBar()
{
    if (m_barLength == 0)
        return;
    m_context.err << '\r' << std::string(m_barLength, ' ') << '\r';
    m_barLength = 0;
}

void CliConvertReport::Summary(int converted, int failed, int refused, int soundOnly)
{
    ClearBar();
    const std::size_t total = m_sources.size() + static_cast<std::size_t>(refused);
    m_context.err << converted << " of " << total << (total == 1 ? " file" : " files") << " converted";
    if (failed > 0)
        m_context.err << ", " << failed << " failed";
    if (soundOnly > 0)
        m_context.err << " (" << soundOnly << " as sound alone)";
    m_context.err << '\n';
}

} // namespace zantrove
