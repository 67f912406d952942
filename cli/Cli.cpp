// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"

#include "base/Version.h"

#include "cli/CliCommands.h"

#include <algorithm>
#include <array>

#include <cerrno>
#include <cstring>

namespace zantrove {

namespace {

constexpr std::string_view kConvertHelp =
    R"(Usage: zantrove-cli convert --device DEVICE --output DIR [OPTIONS] FILE...
Converts each FILE for DEVICE into the folder DIR, as the window's Convert
button does. Progress and errors go to standard error; the path of each
converted file goes to standard output.

Options:
  --device DEVICE   iPod-Classic, iPod-Touch, iPod-Nano, iPhone or iPad
  --output DIR      the folder for the converted files, made when missing
  --profile N       the device's output profile number N, as listed by
                    'zantrove-cli profiles DEVICE'; without it the device's
                    default profile is used
  --trim BEGIN-END  convert only this part of every FILE,
                    e.g. --trim 00:00:30-00:02:00
  --itunes          copy each converted file onto the connected iPod that
                    plays video, listed there as a movie; with no such iPod,
                    add it to the playlist Zantrove.m3u in your videos folder
  --dry-run         print the conversion script instead of running it;
                    nothing is written
  --quiet           print only errors and the closing summary
  -0, --null        end each converted file's path with a NUL character
                    instead of a line break, for scripts (xargs -0)
  -h, --help        show this help
  --                the arguments after it are files, even when they
                    begin with '-'

Exit status: 0 when every file was converted, 1 when one was not,
2 for a usage error.

Example:
  zantrove-cli convert --device iPhone --output ~/Videos/iPhone holiday.avi
)";

constexpr std::string_view kDevicesHelp = R"(Usage: zantrove-cli devices
Lists the devices Zantrove converts for, one per line, spelt as convert,
line and profiles take them.

Options:
  -h, --help  show this help

Example:
  zantrove-cli devices
)";

constexpr std::string_view kLineHelp =
    R"(Usage: zantrove-cli line --device DEVICE --output DIR [OPTIONS] FILE...
Prints the encoder arguments convert would use for each FILE, one line per
file. Nothing is converted and nothing is written.

Options:
  --device DEVICE   iPod-Classic, iPod-Touch, iPod-Nano, iPhone or iPad
  --output DIR      the folder the converted files would go to
  --profile N       the device's output profile number N, as listed by
                    'zantrove-cli profiles DEVICE'; without it the device's
                    default profile is used
  --trim BEGIN-END  only this part of every FILE, e.g. --trim 00:00:30-00:02:00
  -h, --help        show this help
  --                the arguments after it are files, even when they
                    begin with '-'

Example:
  zantrove-cli line --device iPad --profile 2 --output ~/Videos/iPad clip.avi
)";

constexpr std::string_view kProbeHelp = R"(Usage: zantrove-cli probe FILE...
Shows each FILE as the window's video list would hold it, one line per file:
  Filename | Codec | Duration | Video Size | Begin Time | End Time | Filepath
On a terminal a line of these column names comes first.

Options:
  -h, --help  show this help
  --          the arguments after it are files, even when they begin with '-'

Exit status: 0 when every FILE is a media file, 1 when one is missing or is
not, 2 for a usage error.

Example:
  zantrove-cli probe ~/Videos/holiday.avi
)";

constexpr std::string_view kProfilesHelp = R"(Usage: zantrove-cli profiles DEVICE
Lists the output profiles of DEVICE: the number convert --profile takes, the
name, and "default" beside the profile used when no --profile is given.

Options:
  -h, --help  show this help

Example:
  zantrove-cli profiles iPhone
)";

constexpr std::array kCommands{
    CliCommand{"convert", "convert video files for a device", kConvertHelp, RunConvertCommand},
    CliCommand{"devices", "list the device names the other commands take", kDevicesHelp, RunDevicesCommand},
    CliCommand{"line", "print the encoder arguments for each file, converting nothing", kLineHelp,
               RunLineCommand},
    CliCommand{"probe", "show what the video list would show for each file", kProbeHelp, RunProbeCommand},
    CliCommand{"profiles", "list the output profiles of a device", kProfilesHelp, RunProfilesCommand},
};

} // namespace

std::span<const CliCommand> CliCommandTable()
{
    return kCommands;
}

void PrintCliHelp(std::ostream& out)
{
    out << "Usage: zantrove-cli COMMAND [OPTIONS] [ARGUMENTS]\n"
           "Converts video files for Apple portable devices.\n\n"
           "Commands:\n";
    for (const auto& command : kCommands)
        out << "  " << command.name << std::string(10 - command.name.size(), ' ') << command.summary << '\n';
    out << "\nRun 'zantrove-cli COMMAND --help' for a command's options and an example.\n\n"
           "Options:\n"
           "  -h, --help  show this help\n"
           "  --version   show the version\n\n"
           "Example:\n"
           "  zantrove-cli convert --device iPhone --output ~/Videos/iPhone holiday.avi\n";
}

namespace {

bool AsksForHelp(const std::vector<std::string>& arguments)
{
    const auto end = std::find(arguments.begin(), arguments.end(), "--");
    return std::any_of(arguments.begin(), end,
                       [](const std::string& argument) { return argument == "--help" || argument == "-h"; });
}
} // namespace

int CliUsageError(CliContext& context, const std::string& text)
{
    context.err << "zantrove-cli: " << text << " (try 'zantrove-cli ";
    if (!context.command.empty())
        context.err << context.command << ' ';
    context.err << "--help')\n";
    return kCliUsageError;
}

namespace {
// Output that never arrived (a full disk, a closed pipe) is a failure, whatever the command made of it.
int Flushed(int status, CliContext& context)
{
    errno = 0;
    context.out.flush();
    if (context.out)
        return status;
    const int error = errno;
    context.err << "zantrove-cli: the output could not be written"
                << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
    return status == 0 ? 1 : status;
}
} // namespace

int RunCli(const std::vector<std::string>& arguments, CliContext& context)
{
    context.command = {};
    if (arguments.empty())
        return CliUsageError(context, "no command given");
    const std::string& first = arguments.front();
    if (first == "--help" || first == "-h") {
        PrintCliHelp(context.out);
        return 0;
    }
    if (first == "--version") {
        context.out << "Zantrove " << kVersion << '\n';
        return 0;
    }
    for (const auto& command : kCommands) {
        if (command.name != first)
            continue;
        const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
        if (AsksForHelp(rest)) {
            context.out << command.help;
            return 0;
        }
        context.command = command.name;
        return Flushed(command.run(rest, context), context);
    }
    if (!first.empty() && first.front() == '-')
        return CliUsageError(context, "unknown option '" + first + "'");
    return CliUsageError(context, "unknown command '" + first + "'");
}

} // namespace zantrove
