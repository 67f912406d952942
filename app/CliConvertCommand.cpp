// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CliCommands.h"
#include "app/CliConversionOptions.h"
#include "app/Startup.h"
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
#include <fstream>

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

std::string Bar(std::int64_t value, std::int64_t maximum, int width = 24)
{
    const int filled =
        maximum > 0 ? static_cast<int>(std::min<std::int64_t>(value, maximum) * width / maximum) : 0;
    return "[" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(width - filled), '-') + "]";
}

void DrawProgress(std::ostream& err, const ConversionProgress& progress, const BatchTimeEstimate& estimate,
                  const std::string& counts = {})
{
    err << '\r' << progress.CurrentFileText() << counts << ' '
        << Bar(progress.CurrentValue(), progress.CurrentMaximum()) << ' '
        << ConversionProgress::PercentText(progress.CurrentValue(), progress.CurrentMaximum()) << "%  all "
        << Bar(progress.TotalValue(), progress.TotalMaximum(), 12) << "  " << estimate.Text() << "   "
        << std::flush;
}
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
    const std::string settingsFolder = ResolveSettingsFolder(platform, messages);
    for (const UserMessage& message : messages)
        context.err << "zantrove-cli: " << message.text << '\n';
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
    if (options.dryRun) {
        std::ifstream script(prepared.scriptPath, std::ios::binary);
        context.out << script.rdbuf();
        return 0;
    }

    ConversionProgress progress(ConversionProgress::RowsOf(setup.rows, prepared.lines));
    BatchTimeEstimate estimate(BatchTimeEstimate::OutputSeconds(setup.rows), Clock::System());
    UserSettings user;
    LoadSettings(settingsFolder, platform.HomeFolder(), user);

    PollingConsoleLauncher launcher;
    launcher.SetScript(prepared.scriptPath);
    launcher.SetDataReceived([&](const std::string& data) {
        const int before = progress.FileNumber();
        const int readings = progress.Readings();
        if (progress.HandleOutput(data)) {
            CountConvertedFile(user);
            if (before != 0)
                context.err << '\n';
        }
        if (progress.Readings() != readings)
            estimate.Progress(progress.FileNumber(), progress.CurrentValue());
        DrawProgress(context.err, progress, estimate);
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
    std::vector<std::string> sources;
    std::vector<std::string> outputs;
    for (std::size_t i = 0; i < prepared.lines.size() && i < setup.rows.size(); ++i) {
        sources.push_back(setup.rows[i].filepath);
        outputs.push_back(prepared.lines[i].outputPath);
    }
    const BatchOutcome outcome = JudgeBatch(sources, outputs, progress.ErrorLog());
    if (progress.Finished())
        DrawProgress(context.err, progress, estimate, " " + outcome.CountText());
    context.err << '\n';
    SaveSettings(settingsFolder, user);

    if (cancelled)
        context.err << "zantrove-cli: the conversion was cancelled\n";
    // A cancelled run's rows after the cancel were never meant to run: only what was said counts.
    std::string errors = cancelled ? progress.ErrorLog() : outcome.errorLog;
    for (std::size_t at; (at = errors.find('\r')) != std::string::npos;)
        errors.erase(at, 1);
    context.err << errors;
    // A damaged source leaves a file behind and an entry here: converted in part is not success.
    const bool complete = !cancelled && outcome.failed == 0;
    for (const EncoderLine& line : prepared.lines) {
        if (!FileExists(line.outputPath)) {
            if (cancelled)
                context.err << "zantrove-cli: not converted: " << line.outputPath << '\n';
        } else {
            context.out << line.outputPath << '\n';
        }
    }
    if (const std::string places = LibrarySummary(progress.LogText()); !places.empty())
        context.err << "zantrove-cli: " << places << '\n';
    if (!cancelled && context.notify)
        context.notify(kNotificationTitle, outcome.NotificationText());
    return complete ? 0 : 1;
}

} // namespace zantrove
