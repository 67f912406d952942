// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Cli.h"

#include <ostream>
#include <span>
#include <string_view>

namespace zantrove {

// One sub-command of zantrove-cli: its name, its line in the command list, its own help and what
// runs it with the arguments that follow the name.
struct CliCommand
{
    std::string_view name;
    std::string_view summary;
    std::string_view help;
    int (*run)(const std::vector<std::string>& arguments, CliContext& context);
};

// Every command, in the order the overall help lists them; the manual pages are made from these.
std::span<const CliCommand> CliCommandTable();
// The overall help `zantrove-cli --help` prints.
void PrintCliHelp(std::ostream& out);

int RunConvertCommand(const std::vector<std::string>& arguments, CliContext& context);
int RunDevicesCommand(const std::vector<std::string>& arguments, CliContext& context);
int RunLineCommand(const std::vector<std::string>& arguments, CliContext& context);
int RunProbeCommand(const std::vector<std::string>& arguments, CliContext& context);
int RunProfilesCommand(const std::vector<std::string>& arguments, CliContext& context);

// "zantrove-cli: " + text and where to find the command's help on stderr, then the usage status.
int CliUsageError(CliContext& context, const std::string& text);

} // namespace zantrove
