// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"
#include "cli/CliCommands.h"
#include "cli/CliConversionOptions.h"
#include "cli/CliConvertReport.h"
#include "conversion/BatchOutcome.h"
#include "conversion/BatchTimeEstimate.h"
#include "conversion/ConversionProgress.h"
#include "conversion/ConversionScript.h"
#include "conversion/ConversionStart.h"
#include "conversion/LibraryReport.h"
#include "conversion/ProcessTermination.h"
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
} // namespace

int RunConvertCommand(const std::vector<std::string>& arguments, CliContext& context)
{
    CliConversionOptions options;
    if (const std::string problem = ParseCliConversionOptions(arguments, true, options); !problem.empty())
        return CliUsageError(context, problem);
    CliConversionSetup setup;
    if (const auto problem = SetUpCliConversion(options, context, setup))
        return CliUsageError(context, *problem);
    EncodingSettingsModel& settings = *setup.settings;

    const ProfileLookup profile = ProfileFileLookup(settings.ProfileFile());
    if (auto refusal =
            CheckConversionReady(setup.rows.size(), settings, profile, context.applicationFolder)) {
        for (std::size_t at; (at = refusal->text.find(kCrLf)) != std::string::npos;)
            refusal->text.replace(at, 2, "\n");
        context.err << "zantrove-cli: " << refusal->text << '\n';
        return 1;
    }
    Platform& platform = Platform::Instance();
    std::vector<UserMessage> messages;
    // A dry run shows the script the run would write, and leaves the disk as it found it.
    const std::string settingsFolder =
        options.dryRun ? SettingsFolderPath(platform, messages) : ResolveSettingsFolder(platform, messages);
    for (const UserMessage& message : messages)
        context.err << "zantrove-cli: " << message.text << '\n';
    if (options.dryRun) {
        const auto lines =
            BuildEncoderLines(setup.rows, TakeEncoderSettings(settings, options.output), profile, FileExists);
        context.out << ConversionScriptText(settingsFolder, lines, options.addToLibrary);
        return 0;
    }
    CreateFolderPath(options.output);

    ConversionRequest request;
    request.applicationFolder = context.applicationFolder;
    request.settingsFolder = settingsFolder;
    request.rows = setup.rows;
    request.settings = TakeEncoderSettings(settings, options.output);
    request.profile = profile;
    request.addToLibrary = options.addToLibrary;
    const PreparedConversion prepared = PrepareConversion(request);
    if (!prepared.scriptWritten) {
        context.err << "zantrove-cli: unable to write the file: "
                    << (prepared.unstagedComponent.empty() ? prepared.scriptPath : prepared.unstagedComponent)
                    << '\n';
        return 1;
    }

    ConversionProgress progress(ConversionProgress::RowsOf(setup.rows, prepared.lines),
                                EncoderLineStart(settingsFolder));
    BatchTimeEstimate estimate(BatchTimeEstimate::OutputSeconds(setup.rows), Clock::System());
    UserSettings user;
    LoadSettings(settingsFolder, platform.HomeFolder(), user);

    PollingConsoleLauncher launcher;
    launcher.SetScript(prepared.scriptPath);
    std::vector<std::string> sources;
    for (const VideoRow& row : setup.rows)
        sources.push_back(row.filepath);
    CliConvertReport report(context, sources, options.quiet);
    launcher.SetDataReceived([&](const std::string& data) {
        const int readings = progress.Readings();
        const bool started = progress.HandleOutput(data);
        if (started)
            CountConvertedFile(user);
        if (progress.Readings() != readings)
            estimate.Progress(progress.FileNumber(), progress.CurrentValue());
        report.Update(progress, estimate, started);
    });
    launcher.SetProcessEnded([&] {
        progress.HandleEnd();
        estimate.Finish();
    });

    const InterruptGuard guard;
    estimate.Start();
    if (launcher.Start() != ConsoleLauncher::Started) {
        context.err << "zantrove-cli: the conversion script could not be started (error "
                    << launcher.LastError() << ")\n";
        return 1;
    }
    bool cancelled = false;
    while (launcher.Pump(200)) {
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
    SaveSettings(settingsFolder, user);
    std::vector<std::string> outputs;
    for (const EncoderLine& line : prepared.lines)
        outputs.push_back(line.outputPath);
    const BatchOutcome outcome = JudgeBatch(sources, outputs, progress.ErrorLog());

    if (cancelled)
        report.Error("the conversion was cancelled");
    // A damaged source leaves a file behind and an error: converted in part is not converted.
    for (std::size_t i = 0; i < prepared.lines.size(); ++i) {
        const EncoderLine& line = prepared.lines[i];
        if (!FileExists(line.outputPath)) {
            report.Error("not converted: " + sources[i]);
            continue;
        }
        if (!options.quiet)
            context.out << line.outputPath << '\n';
    }
    if (const std::string places = LibrarySummary(progress.LogText()); !places.empty())
        context.err << "zantrove-cli: " << places << '\n';
    report.Summary(outcome.converted, outcome.failed);
    if (!cancelled && context.notify)
        context.notify(kNotificationTitle, outcome.NotificationText());
    const bool complete = !cancelled && outcome.failed == 0;
    return complete ? 0 : 1;
}

} // namespace zantrove
