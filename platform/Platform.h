// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Error.h"
#include "base/Expected.h"

#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

// Why a folder lookup failed, as the start-up shows it.
inline constexpr std::string_view kInvalidFolderIdText = "Invalid Folder ID!";
inline constexpr std::string_view kNoDataFolderText = "ApplicationData Folder does not exist!";

struct ProcessEntry
{
    int pid = 0;
    std::string name;       // the process's own name
    std::string executable; // full path of its executable, empty when unreadable
    int group = 0;          // its process group, 0 when unreadable
};

// What the operating system provides. One implementation per platform is picked at build time;
// tests install a fake through SetInstance.
class Platform
{
public:
    // The only folder kind the program asks for: the user's application-data folder.
    static constexpr int kApplicationDataFolder = 0x801A;

    virtual ~Platform() = default;

    static Platform& Instance();
    // Replaces the platform until the next call; nullptr restores the real one.
    static void SetInstance(Platform* platform);

    // The per-user application-data folder for a folder id, created when missing.
    [[nodiscard]] virtual Expected<std::string, Error> ShellFolder(int folderId) const = 0;
    // The folder of the running executable, without a trailing separator.
    virtual std::string ApplicationFolder() const = 0;
    virtual std::string HomeFolder() const = 0;

    // Opens a file, folder or address with the desktop's default application, started with the
    // program's folder as its working folder. The error says why nothing could be started.
    [[nodiscard]] virtual Expected<void, Error> ShellOpen(const std::string& target) = 0;

    // Processes of the current user.
    virtual std::vector<ProcessEntry> ListProcesses() const = 0;
    virtual bool TerminateProcess(int pid) = 0;

    // Asks the system to power off now; the error says why the request could not be made.
    [[nodiscard]] virtual Expected<void, Error> RequestShutdown() = 0;
};

} // namespace zantrove
