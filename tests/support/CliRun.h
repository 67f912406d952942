// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace zantrove::test {

// One run of zantrove-cli in this process, with what it printed.
struct CliRun
{
    int status = -1;
    std::string out;
    std::string err;
};

// The test program's application folder unless another is given; terminal: both streams act as
// a terminal would, else as pipes.
inline CliRun InvokeCli(const std::vector<std::string>& arguments,
                        const std::string& applicationFolder = ZANTROVE_APP_DIR, bool terminal = false)
{
    std::ostringstream out, err;
    CliContext context{out, err, applicationFolder};
    context.outIsTerminal = context.errIsTerminal = terminal;
    const int status = RunCli(arguments, context);
    return {status, out.str(), err.str()};
}

} // namespace zantrove::test
