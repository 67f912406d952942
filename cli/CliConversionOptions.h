// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Cli.h"
#include "conversion/EncoderSettings.h"
#include "devices/EncodingSettingsModel.h"
#include "media/VideoListModel.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zantrove {

// What "line" and "convert" are told: a device, maybe a profile, an output folder, files.
struct CliConversionOptions
{
    std::string device;
    std::string profile;
    std::string output;
    std::string trimStart;
    std::string trimEnd;
    bool addToLibrary = false; // --itunes, "convert" only
    bool dryRun = false;       // "convert" only
    bool quiet = false;        // "convert" only: errors and the summary, nothing else
    std::vector<std::string> files;
};

// The device and profile applied as the window would apply them, and the files probed into rows.
struct CliConversionSetup
{
    std::unique_ptr<EncodingSettingsModel> settings;
    std::vector<VideoRow> rows;
};

// Empty on success, else the usage error to report. withRunFlags admits --itunes, --dry-run and --quiet.
std::string ParseCliConversionOptions(const std::vector<std::string>& arguments, bool withRunFlags,
                                      CliConversionOptions& options);

// Nothing on success (setup filled), else the usage error to report.
std::optional<std::string> SetUpCliConversion(const CliConversionOptions& options, CliContext& context,
                                              CliConversionSetup& setup);

} // namespace zantrove
