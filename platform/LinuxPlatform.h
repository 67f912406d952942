// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Expected.h"
#include "platform/ChildProcess.h"
#include "platform/Platform.h"

namespace zantrove {

class LinuxPlatform : public Platform
{
public:
    Expected<std::string, Error> ShellFolder(int folderId) const override;
    std::string ApplicationFolder() const override;
    std::string HomeFolder() const override;
    Expected<void, Error> ShellOpen(const std::string& target) override;
    std::vector<ProcessEntry> ListProcesses() const override;
    bool TerminateProcess(int pid) override;
    Expected<void, Error> RequestShutdown() override;
};

// Starts a program without a shell and without waiting for it, in workingFolder when one is given
// (the caller's folder when it cannot be entered); why when it could not be started.
Expected<void, SpawnError> SpawnDetached(const std::vector<std::string>& argv,
                                         const std::string& workingFolder = {});

} // namespace zantrove
