// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliCommands.h"
#include "devices/DeviceCatalog.h"

namespace zantrove {

int RunDevicesCommand(const std::vector<std::string>& arguments, CliContext& context)
{
    if (!arguments.empty())
        return CliUsageError(context, "devices takes no arguments");
    for (const auto& device : kDevices)
        context.out << device.identifier << '\n';
    return 0;
}

} // namespace zantrove
