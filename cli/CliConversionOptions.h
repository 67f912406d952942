// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Expected.h"
#include "cli/Cli.h"
#include "conversion/ConversionSession.h"

#include <memory>
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
    bool null = false;         // "convert" only: each converted path on stdout ends with NUL
    std::vector<std::string> files;
};

// Usage errors as their text. withRunFlags admits --itunes, --dry-run and --quiet.
Expected<CliConversionOptions, std::string>
ParseCliConversionOptions(const std::vector<std::string>& arguments, bool withRunFlags);

// The device and profile applied as the window would apply them, the files probed into rows and
// trimmed as asked, the output folder and the library choice; else the usage error. With refused
// given, files the probe finds no media in are left out and listed there as "path: reason".
Expected<std::unique_ptr<ConversionSession>, std::string>
SetUpCliConversion(const CliConversionOptions& options, const CliContext& context,
                   std::vector<std::string>* refused = nullptr);

} // namespace zantrove
