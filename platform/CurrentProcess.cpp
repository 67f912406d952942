// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CurrentProcess.h"

#include <climits>
#include <unistd.h>

namespace zantrove {

int CurrentProcessId()
{
    return static_cast<int>(::getpid());
}

std::string ExecutablePath()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

bool StandardOutputIsTerminal()
{
    return ::isatty(STDOUT_FILENO) == 1;
}

bool StandardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

bool RunsAsAdministrator()
{
    return ::geteuid() == 0;
}

} // namespace zantrove
