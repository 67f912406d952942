// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Cli.h"

#include "app/CliCommands.h"

#include <array>

namespace zantrove {

namespace {
constexpr std::string_view kVersionText = "Zantrove 1.1";

constexpr std::array kCommands{
    CliCommand{"convert",
               "convert --device DEVICE [--profile N] --output DIR [--itunes] [--trim hh:mm:ss-hh:mm:ss] "
               "[--dry-run] FILE...",
               RunConvertCommand},
    CliCommand{"devices", "devices", RunDevicesCommand},
    CliCommand{"line", "line --device DEVICE [--profile N] --output DIR [--trim hh:mm:ss-hh:mm:ss] FILE...",
               RunLineCommand},
    CliCommand{"probe", "probe FILE...", RunProbeCommand},
    CliCommand{"profiles", "profiles DEVICE", RunProfilesCommand},
};

void PrintHelp(std::ostream& out)
{
    out << "Usage: zantrove-cli COMMAND [ARGUMENTS]\n"
           "Converts video files for Apple portable devices.\n\n"
           "Commands:\n";
    for (const auto& command : kCommands)
        out << "  zantrove-cli " << command.usage << '\n';
    out << "\nOptions:\n"
           "  --help     show this help\n"
           "  --version  show the version\n"
           "\nconvert --itunes copies each converted file onto the connected iPod that plays video and\n"
           "lists it there as a movie; with no such iPod it adds the file to the playlist Zantrove.m3u\n"
           "in your videos folder.\n";
}
} // namespace

int CliUsageError(CliContext& context, const std::string& text)
{
    context.err << "zantrove-cli: " << text << '\n';
    return kCliUsageError;
}

int RunCli(const std::vector<std::string>& arguments, CliContext& context)
{
    if (arguments.empty())
        return CliUsageError(context, "no command given (try --help)");
    const std::string& first = arguments.front();
    if (first == "--help" || first == "-h") {
        PrintHelp(context.out);
        return 0;
    }
    if (first == "--version") {
        context.out << kVersionText << '\n';
        return 0;
    }
    for (const auto& command : kCommands) {
        if (command.name == first)
            return command.run({arguments.begin() + 1, arguments.end()}, context);
    }
    if (!first.empty() && first.front() == '-')
        return CliUsageError(context, "unknown option '" + first + "' (try --help)");
    return CliUsageError(context, "unknown command '" + first + "' (try --help)");
}

} // namespace zantrove
