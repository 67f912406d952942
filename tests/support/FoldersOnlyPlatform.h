// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"

#include <string>
#include <vector>

namespace zantrove::test {

// The real platform's folders, and nothing else of it: no shell open, no process list, nothing
// ended, never a shutdown. Window tests derive from it to record the one call they look at.
class FoldersOnlyPlatform : public Platform
{
public:
    explicit FoldersOnlyPlatform(Platform& real) : m_real(real) {}

    FolderLookup ShellFolder(int folderId) const override { return m_real.ShellFolder(folderId); }
    std::string ApplicationFolder() const override { return m_real.ApplicationFolder(); }
    std::string HomeFolder() const override { return m_real.HomeFolder(); }
    bool ShellOpen(const std::string&) override { return false; }
    std::vector<ProcessEntry> ListProcesses() const override { return {}; }
    bool TerminateProcess(int) override { return false; }
    bool RequestShutdown() override { return false; }

private:
    Platform& m_real;
};

// Records the links a window opens, as if no browser were there: the program must say so.
class LinkRecordingPlatform : public FoldersOnlyPlatform
{
public:
    using FoldersOnlyPlatform::FoldersOnlyPlatform;
    std::vector<std::string> opened;

    bool ShellOpen(const std::string& target) override
    {
        opened.push_back(target);
        return false;
    }
};

} // namespace zantrove::test
