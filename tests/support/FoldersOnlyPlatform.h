// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"

#include <cerrno>
#include <string>
#include <vector>

namespace zantrove::test {

// The real platform's folders, and nothing else of it: no shell open, no process list, nothing
// ended, never a shutdown. Window tests derive from it to record the one call they look at.
class FoldersOnlyPlatform : public Platform
{
public:
    explicit FoldersOnlyPlatform(Platform& real) : m_real(real) {}

    Expected<std::string, Error> ShellFolder(int folderId) const override
    {
        return m_real.ShellFolder(folderId);
    }
    std::string ApplicationFolder() const override { return m_real.ApplicationFolder(); }
    std::string HomeFolder() const override { return m_real.HomeFolder(); }
    Expected<void, Error> ShellOpen(const std::string&) override { return Refused(); }
    std::vector<ProcessEntry> ListProcesses() const override { return {}; }
    bool TerminateProcess(int) override { return false; }
    Expected<void, Error> RequestShutdown() override { return Refused(); }

protected:
    static Unexpected<Error> Refused() { return {{"Nothing is started in tests", {}, EPERM}}; }

private:
    Platform& m_real;
};

// Records the links a window opens, as if no browser were there: the program must say so.
class LinkRecordingPlatform : public FoldersOnlyPlatform
{
public:
    using FoldersOnlyPlatform::FoldersOnlyPlatform;
    std::vector<std::string> opened;

    Expected<void, Error> ShellOpen(const std::string& target) override
    {
        opened.push_back(target);
        return Refused();
    }
};

} // namespace zantrove::test
