// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"
#include "base/TextUtilities.h"
#include "cli/CliCommands.h"
#include "cli/CliConversionOptions.h"
#include "cli/CliConvertReport.h"
#include "conversion/ConversionSession.h"
#include "conversion/EncoderArguments.h"
#include "conversion/OutputSizeEstimate.h"
#include "conversion/ProcessTermination.h"
#include "devices/ProfileFile.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/PollingConsoleLauncher.h"
#include "storage/UserSettings.h"

#include <csignal>

namespace zantrove {

namespace {
volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int)
{
    g_interrupted = 1;
}

constexpr int kCancelSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Ctrl-C, a polite kill or a closed terminal while this lives ends the run like the window's
// cancel, instead of killing the tool.
class InterruptGuard
{
public:
    InterruptGuard()
    {
        g_interrupted = 0;
        struct sigaction action
        {
        };
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(kCancelSignals); ++i)
            ::sigaction(kCancelSignals[i], &action, &m_previous[i]);
    }
    ~InterruptGuard()
    {
        for (std::size_t i = 0; i < std::size(kCancelSignals); ++i)
            ::sigaction(kCancelSignals[i], &m_previous[i], nullptr);
    }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    struct sigaction m_previous[std::size(kCancelSignals)]{};
};
// A message as the window's box shows it: one sentence a line.
void PrintMessage(CliContext& context, std::string_view text)
{
    context.err << "zantrove-cli: ";
    for (std::size_t at; (at = text.find(kCrLf)) != std::string_view::npos; text.remove_prefix(at + 2))
        context.err << text.substr(0, at) << '\n';
    context.err << text << '\n';
}

// Beside the script, on the error stream so that the script stays what stdout carries: what each
// file and the batch will take.
void PrintSizeEstimate(const ConversionSession& session, CliContext& context)
{
    const EncoderSettings settings = TakeEncoderSettings(session.Settings(), session.OutputFolder());
    const std::vector<VideoRow>& rows = session.Rows().Rows();
    const BatchSizeEstimate batch = EstimateBatchBytes(rows, settings);
    const auto lines =
        BuildEncoderLines(rows, settings, ProfileFileLookup(session.Settings().ProfileFile()), FileExists);
    context.err << "Estimated output size:\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string size = batch.files[i] ? FormatByteSize(*batch.files[i]) : std::string("unknown");
        context.err << "  " << size << std::string(size.size() < 10 ? 10 - size.size() : 1, ' ')
                    << (context.errIsTerminal ? EscapeForTerminal(lines[i].outputPath) : lines[i].outputPath)
                    << '\n';
    }
    context.err << "  " << BatchSizeText(batch) << " in total\n";
}
} // namespace

int RunConvertCommand(const std::vector<std::string>& arguments, CliContext& context)
{
    const auto options = ParseCliConversionOptions(arguments, true);
    if (!options)
        return CliUsageError(context, options.error());
    std::vector<std::string> refused;
    const auto setUp = SetUpCliConversion(*options, context, &refused);
    if (!setUp)
        return CliUsageError(context, setUp.error());
    const ConversionSession& session = **setUp;
    // Each refused file is named with its reason; the run goes on with the rest.
    for (const std::string& refusal : refused)
        context.err << "zantrove-cli: " << (context.errIsTerminal ? EscapeForTerminal(refusal) : refusal)
                    << '\n';
    const int refusedCount = static_cast<int>(refused.size());
    if (session.Rows().IsEmpty()) {
        context.err << "0 of " << refusedCount << (refusedCount == 1 ? " file" : " files") << " converted, "
                    << refusedCount << " failed\n";
        return 1;
    }

    if (const Verdict ready = session.CheckReady(); !ready) {
        PrintMessage(context, ready.error().text);
        return 1;
    }
    Platform& platform = Platform::Instance();
    // A dry run shows the script the run would write, and leaves the disk as it found it.
    const SettingsFolder folder =
        options->dryRun ? SettingsFolderPath(platform) : ResolveSettingsFolder(platform);
    const std::string& settingsFolder = folder.path;
    for (const UserMessage& message : folder.notices)
        context.err << "zantrove-cli: " << message.text << '\n';
    if (settingsFolder.empty()) {
        if (options->dryRun)
            context.err << "zantrove-cli: " << kNoSettingsFolderMessage << '\n';
        return 1;
    }
    if (options->dryRun) {
        // First: the error stream flushes stdout when written, and a failed flush there would lose
        // the reason the output could not be written.
        PrintSizeEstimate(session, context);
        context.out << session.ScriptText(settingsFolder);
        return refused.empty() ? 0 : 1;
    }
    auto prepared = session.Prepare(settingsFolder);
    if (!prepared) {
        PrintMessage(context, prepared.error().text);
        return 1;
    }
    ConversionRun& run = *prepared;
    UserSettings user;
    if (const auto notice = LoadSettings(settingsFolder, platform.HomeFolder(), user))
        PrintMessage(context, notice->text);

    PollingConsoleLauncher launcher;
    launcher.SetScript(run.ScriptPath());
    std::vector<std::string> sources;
    for (const VideoRow& row : session.Rows().Rows())
        sources.push_back(row.filepath);
    CliConvertReport report(context, sources, options->quiet);
    launcher.SetDataReceived([&](const std::string& data) {
        const bool started = run.HandleOutput(data);
        if (started)
            CountConvertedFile(user);
        report.Update(run.Progress(), run.TimeEstimate(), started);
    });
    launcher.SetProcessEnded([&] { run.HandleEnd(); });

    const InterruptGuard guard;
    run.Start();
    if (const auto started = launcher.Start(); !started) {
        run.RemoveScript(false);
        report.Error(started.error().Text());
        return 1;
    }
    bool cancelled = false;
    std::int64_t silencesNoted = 0;
    while (launcher.Pump(200)) {
        // A silent encoder still shows the time running, and is named once each silence limit.
        report.Update(run.Progress(), run.TimeEstimate(), false);
        if (const std::int64_t silences = run.Silence() / kEncoderSilenceLimit; silences != silencesNoted) {
            if (silences > silencesNoted)
                report.Error(run.SilenceText());
            silencesNoted = silences;
        }
        if (g_interrupted) {
            // This run's processes only: a conversion beside it keeps its encoder.
            const int group = launcher.ProcessGroup();
            launcher.Stop();
            TerminateProcessByName(platform, kStagedEncoderName, group);
            cancelled = true;
            break;
        }
    }
    report.EndProgress();
    // The command line has no debug log to keep the script for.
    run.RemoveScript(false);
    if (const auto saved = SaveSettings(settingsFolder, user); !saved)
        report.Error(saved.error().Text());
    const BatchOutcome outcome = run.JudgedOutcome();

    report.JudgedErrors(outcome.errorLog);
    if (cancelled)
        report.Error("the conversion was cancelled");
    // Each row by the run's one verdict, the one the summary counts: a file left behind by a source
    // that also has an error entry is named not converted, and only converted outputs are printed.
    const auto& rows = run.Progress().Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!outcome.rowConverted[i]) {
            report.Error("not converted: " + rows[i].filepath);
            continue;
        }
        if (options->quiet)
            continue;
        // A name may hold a line break: scripts take NUL-ended paths, a terminal shows them escaped.
        if (options->null)
            context.out << rows[i].outputPath << '\0';
        else
            context.out << (context.outIsTerminal ? EscapeForTerminal(rows[i].outputPath)
                                                  : rows[i].outputPath)
                        << '\n';
    }
    if (const std::string places = run.LibraryPlaces(); !places.empty())
        context.err << "zantrove-cli: " << places << '\n';
    report.Summary(outcome.converted, outcome.failed + refusedCount, refusedCount, session.SoundOnlyCount());
    if (!cancelled && context.notify) {
        BatchOutcome counted = outcome;
        counted.failed += refusedCount;
        context.notify(kNotificationTitle, counted.NotificationText());
    }
    const bool complete = !cancelled && outcome.failed == 0 && refused.empty();
    return complete ? 0 : 1;
}

} // namespace zantrove
