// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Cli.h"
#include "platform/CurrentProcess.h"
#include "platform/Platform.h"
#ifdef ZANTROVE_NOTIFICATIONS
#include "platform/DesktopNotification.h"
#endif

#include <iostream>

int main(int argc, char** argv)
{
    zantrove::CliContext context{std::cout, std::cerr, zantrove::Platform::Instance().ApplicationFolder()};
#ifdef ZANTROVE_NOTIFICATIONS
    context.notify = [](const std::string& title, const std::string& body) {
        zantrove::SendDesktopNotification(title, body);
    };
#endif
    context.outIsTerminal = zantrove::StandardOutputIsTerminal();
    context.errIsTerminal = zantrove::StandardErrorIsTerminal();
    return zantrove::RunCli({argv + 1, argv + argc}, context);
}
