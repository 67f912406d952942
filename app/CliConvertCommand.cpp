// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CliCommands.h"
#include "app/CliConversionOptions.h"
#include "app/Startup.h"
#include "conversion/BatchTimeEstimate.h"
#include "conversion/ConversionProgress.h"
#include "conversion/ConversionScript.h"
#include "conversion/ConversionStart.h"
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

// Ctrl-C while this lives ends the run like the window's cancel, instead of killing the tool.
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
        ::sigaction(SIGINT, &action, &m_previous);
    }
    ~InterruptGuard() { ::sigaction(SIGINT, &m_previous, nullptr); }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    struct sigaction m_previous
    {
    };
};

std::string Bar(std::int64_t value, std::int64_t maximum, int width = 24)
{
    const int filled =
        maximum > 0 ? static_cast<int>(std::min<std::int64_t>(value, maximum) * width / maximum) : 0;
    return "[" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(width - filled), '-') + "]";
}

void DrawProgress(std::ostream& err, const ConversionProgress& progress, const BatchTimeEstimate& estimate)
{
    err << '\r' << progress.CurrentFileText() << ' '
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
        context.err << "zantrove-cli: unable to write the file: " << prepared.scriptPath << '\n';
        return 1;
    }
    if (options.dryRun) {
        std::ifstream script(prepared.scriptPath, std::ios::binary);
        context.out << script.rdbuf();
        return 0;
    }

    ConversionProgress progress(ConversionProgress::RowsOf(setup.rows), EncoderLineStart(settingsFolder));
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
            TerminateProcessByName(platform, kStagedEncoderName);
            launcher.Stop();
            cancelled = true;
            break;
        }
    }
    if (progress.Finished())
        DrawProgress(context.err, progress, estimate);
    context.err << '\n';
    SaveSettings(settingsFolder, user);

    if (cancelled)
        context.err << "zantrove-cli: the conversion was cancelled\n";
    std::string errors = progress.ErrorLog();
    for (std::size_t at; (at = errors.find('\r')) != std::string::npos;)
        errors.erase(at, 1);
    context.err << errors;
    // A damaged source leaves a file behind and an entry here: converted in part is not success.
    bool complete = !cancelled && errors.empty();
    for (const EncoderLine& line : prepared.lines) {
        if (!FileExists(line.outputPath)) {
            complete = false;
            context.err << "zantrove-cli: not converted: " << line.outputPath << '\n';
        } else {
            context.out << line.outputPath << '\n';
        }
    }
    return complete ? 0 : 1;
}

} // namespace zantrove
