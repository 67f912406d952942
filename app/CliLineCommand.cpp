// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CliCommands.h"
#include "conversion/EncoderArguments.h"
#include "devices/DeviceCatalog.h"
#include "devices/EncodingSettingsModel.h"
#include "media/AddFilesFlow.h"
#include "media/VideoListModel.h"
#include "storage/TextUtilities.h"

namespace zantrove {

namespace {
constexpr std::string_view kLineUsage =
    "line --device DEVICE [--profile N] --output DIR [--trim hh:mm:ss-hh:mm:ss] FILE...";

struct LineOptions
{
    std::string device;
    std::string profile;
    std::string output;
    std::string trimStart;
    std::string trimEnd;
    std::vector<std::string> files;
};

// Empty on success, else what is wrong.
std::string ParseLineOptions(const std::vector<std::string>& arguments, LineOptions& options)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool valued = argument == "--device" || argument == "--profile" || argument == "--output" ||
                            argument == "--trim";
        if (!valued) {
            if (argument.starts_with("--"))
                return "unknown option '" + argument + "'";
            options.files.push_back(argument);
            continue;
        }
        if (i + 1 >= arguments.size())
            return argument + " needs a value";
        const std::string& value = arguments[++i];
        if (argument == "--device") {
            options.device = value;
        } else if (argument == "--profile") {
            options.profile = value;
        } else if (argument == "--output") {
            options.output = value;
        } else {
            const std::size_t dash = value.find('-');
            if (dash == std::string::npos || value.size() != 17 || dash != 8)
                return "--trim takes hh:mm:ss-hh:mm:ss";
            options.trimStart = value.substr(0, dash);
            options.trimEnd = value.substr(dash + 1);
        }
    }
    if (options.device.empty() || options.output.empty() || options.files.empty())
        return std::string("usage: zantrove-cli ") + std::string(kLineUsage);
    return {};
}

std::string DeviceChoices()
{
    std::string text;
    for (const auto& device : kDevices)
        text += (text.empty() ? "" : ", ") + std::string(device.identifier);
    return text;
}
} // namespace

int RunLineCommand(const std::vector<std::string>& arguments, CliContext& context)
{
    LineOptions options;
    if (const std::string problem = ParseLineOptions(arguments, options); !problem.empty())
        return CliUsageError(context, problem);
    if (DeviceIndex(options.device) < 0)
        return CliUsageError(context, "unknown device '" + options.device + "'; the devices are " + DeviceChoices());

    // The same device switch and profile choice the window makes, so the line is the one it would write.
    EncodingSettingsModel settings(context.applicationFolder);
    settings.SwitchDevice(options.device);
    if (!options.profile.empty()) {
        const auto number = ParseInt16(options.profile);
        const int named = static_cast<int>(settings.ProfileEntries().size()) - 1; // without "Custom"
        if (!number || *number < 1 || *number > named)
            return CliUsageError(context, "device " + options.device + " has no profile '" + options.profile +
                                              "'; see zantrove-cli profiles " + options.device);
        settings.SelectProfile(*number - 1);
    }

    VideoListModel list;
    AddFilesFlow flow(list, {}, {});
    flow.AddDroppedFiles(options.files);
    std::vector<VideoRow> rows = list.Rows();
    for (VideoRow& row : rows) {
        row.beginTime = options.trimStart;
        row.endTime = options.trimEnd;
    }
    const auto lines = BuildEncoderLines(rows, TakeEncoderSettings(settings, options.output),
                                         ProfileFileLookup(settings.ProfileFile()), FileExists);
    for (const EncoderLine& line : lines)
        context.out << RenderArgumentLine(line) << '\n';
    return 0;
}

} // namespace zantrove
