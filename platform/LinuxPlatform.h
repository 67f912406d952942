// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"

namespace zantrove {

class LinuxPlatform : public Platform
{
public:
    FolderLookup ShellFolder(int folderId) const override;
    std::string ApplicationFolder() const override;
    std::string HomeFolder() const override;
    bool ShellOpen(const std::string& target) override;
    std::vector<ProcessEntry> ListProcesses() const override;
    bool TerminateProcess(int pid) override;
    bool RequestShutdown() override;
};

// Starts a program without a shell and without waiting for it; false when it could not be started.
bool SpawnDetached(const std::vector<std::string>& argv);

} // namespace zantrove
