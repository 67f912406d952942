// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Cli.h"
#include "platform/Platform.h"

#include <iostream>

int main(int argc, char** argv)
{
    zantrove::CliContext context{std::cout, std::cerr, zantrove::Platform::Instance().ApplicationFolder()};
    return zantrove::RunCli({argv + 1, argv + argc}, context);
}
