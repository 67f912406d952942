// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliConversionOptions.h"

#include "base/TextUtilities.h"
#include "devices/DeviceCatalog.h"
#include "media/AddFilesFlow.h"
#include "trim/TrimDialogModel.h"

namespace zantrove {

namespace {

// Only the shape: the trim dialog's checks give the reasons for what is in it.
bool IsClockTime(std::string_view text)
{
    return text.size() == 8 && text[2] == ':' && text[5] == ':';
}
} // namespace

Expected<CliConversionOptions, std::string>
ParseCliConversionOptions(const std::vector<std::string>& arguments, bool withRunFlags)
{
    CliConversionOptions options;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (onlyFiles || argument == "--") {
            if (onlyFiles)
                options.files.push_back(argument);
            onlyFiles = true;
            continue;
        }
        if (withRunFlags && (argument == "--null" || argument == "-0")) {
            options.null = true;
            continue;
        }
        if (withRunFlags && argument == "--quiet") {
            options.quiet = true;
            continue;
        }
        if (withRunFlags && argument == "--itunes") {
            options.addToLibrary = true;
            continue;
        }
        if (withRunFlags && argument == "--dry-run") {
            options.dryRun = true;
            continue;
        }
        std::string* target = argument == "--device"    ? &options.device
                              : argument == "--profile" ? &options.profile
                              : argument == "--output"  ? &options.output
                                                        : nullptr;
        if (!target && argument != "--trim") {
            if (argument.starts_with("--"))
                return Unexpected{std::string("unknown option '" + argument + "'")};
            options.files.push_back(argument);
            continue;
        }
        if (i + 1 >= arguments.size())
            return Unexpected{std::string(argument + " needs a value")};
        const std::string& value = arguments[++i];
        if (target) {
            *target = value;
            continue;
        }
        if (value.size() != 17 || value[8] != '-' || !IsClockTime(value.substr(0, 8)) ||
            !IsClockTime(value.substr(9)))
            return Unexpected{std::string("--trim takes hh:mm:ss-hh:mm:ss")};
        options.trimStart = value.substr(0, 8);
        options.trimEnd = value.substr(9);
    }
    if (options.device.empty() || options.output.empty() || options.files.empty())
        return Unexpected{std::string("--device, --output and at least one FILE are needed")};
    return options;
}

Expected<std::unique_ptr<ConversionSession>, std::string>
SetUpCliConversion(const CliConversionOptions& options, const CliContext& context,
                   std::vector<std::string>* refused)
{
    if (DeviceIndex(options.device) < 0)
        return Unexpected{"unknown device '" + options.device + "'; the devices are " +
                          DeviceIdentifierList()};
    // The same device switch and profile choice the window makes.
    auto session = std::make_unique<ConversionSession>(context.applicationFolder);
    EncodingSettingsModel& settings = session->Settings();
    settings.SwitchDevice(options.device);
    if (!options.profile.empty()) {
        const auto number = ParseInt16(options.profile);
        const int named = static_cast<int>(settings.ProfileEntries().size()) - 1; // without "Custom"
        if (!number || *number < 1 || *number > named)
            return Unexpected{"device " + options.device + " has no profile '" + options.profile +
                              "'; see zantrove-cli profiles " + options.device};
        settings.SelectProfile(*number - 1);
    }
    session->SetOutputFolder(options.output);
    session->SetAddToLibrary(options.addToLibrary);

    VideoListModel& rows = session->Rows();
    AddFilesFlow flow(rows, {}, {});
    flow.AddDroppedFiles(options.files);
    // Before the run, as the list shows them: a FIFO handed on would block the encoder for ever.
    for (std::int16_t index = rows.Count(); refused && index >= 1; --index) {
        const VideoRow& row = *rows.Row(index);
        if (const std::string reason = MediaRowRefusal(row); !reason.empty()) {
            refused->insert(refused->begin(), row.filepath + ": " + reason);
            rows.RemoveRow(index);
        }
    }
    if (options.trimStart.empty())
        return session;
    // Checked per file as the trim dialog checks it, with its reasons.
    const TrimEntries entries{SplitTimeText(options.trimStart), SplitTimeText(options.trimEnd)};
    for (std::int16_t index = 1; index <= rows.Count(); ++index) {
        const VideoRow& row = *rows.Row(index);
        TrimValidation trim = ValidateTrimEntries(entries, DurationTextSeconds(row.duration));
        if (trim.message) {
            std::string reason = trim.message->text;
            for (std::size_t at; (at = reason.find(kCrLf)) != std::string::npos;)
                reason.replace(at, 2, " ");
            return Unexpected{"--trim " + options.trimStart + "-" + options.trimEnd + " for " + row.filepath +
                              ": " + reason};
        }
        rows.SetTrimTimes(index, std::move(trim.beginTime), std::move(trim.endTime));
    }
    return session;
}

} // namespace zantrove
