// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

struct CliContext
{
    std::ostream& out;
    std::ostream& err;
    std::string applicationFolder; // holds Profiles/ and Components/
    // Shows a desktop notification (title, text); empty where the build has none.
    std::function<void(const std::string&, const std::string&)> notify = {};
    // A terminal gets redrawn progress bars and headers; a pipe or file gets plain lines.
    bool outIsTerminal = false;
    bool errIsTerminal = false;
    std::string_view command = {}; // the command running, named in its usage errors
};

inline constexpr int kCliUsageError = 2;

// Runs zantrove-cli with the arguments after the program's name; returns the exit status.
int RunCli(const std::vector<std::string>& arguments, CliContext& context);

} // namespace zantrove
