// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ProcessTermination.h"

#include "base/TextUtilities.h"
#include "platform/CurrentProcess.h"
#include "platform/Platform.h"

namespace zantrove {

namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size() &&
           EqualsIgnoringCase(text.substr(text.size() - ending.size()), ending);
}

// The kernel keeps only 15 characters of a process's own name, so a longer image name is also
// looked for in the file name of its executable.
std::string_view ExecutableName(std::string_view executable)
{
    constexpr std::string_view kDeleted = " (deleted)";
    if (executable.size() > kDeleted.size() &&
        executable.substr(executable.size() - kDeleted.size()) == kDeleted)
        executable.remove_suffix(kDeleted.size());
    const auto slash = executable.rfind('/');
    return slash == std::string_view::npos ? executable : executable.substr(slash + 1);
}

} // namespace

int TerminateProcessByName(Platform& platform, std::string_view imageName, int processGroup)
{
    if (imageName.empty() || processGroup <= 0)
        return 0;
    const int self = CurrentProcessId();
    int ended = 0;
    for (const ProcessEntry& process : platform.ListProcesses()) {
        if (process.pid == self || process.pid <= 0 || process.group != processGroup)
            continue;
        const bool matches = EndsWithIgnoringCase(process.name, imageName) ||
                             EndsWithIgnoringCase(ExecutableName(process.executable), imageName);
        // A process that has already gone is simply not counted.
        if (matches && platform.TerminateProcess(process.pid))
            ++ended;
    }
    return ended;
}

} // namespace zantrove
