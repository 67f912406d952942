// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zantrove {

struct CliContext
{
    std::ostream& out;
    std::ostream& err;
    std::string applicationFolder; // holds Profiles/ and Components/
};

inline constexpr int kCliUsageError = 2;

// Runs zantrove-cli with the arguments after the program's name; returns the exit status.
int RunCli(const std::vector<std::string>& arguments, CliContext& context);

} // namespace zantrove
