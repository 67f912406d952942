// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LinuxPlatform.h"

#include "platform/ChildProcess.h"
#include "platform/CurrentProcess.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zantrove {

namespace {
LinuxPlatform g_linuxPlatform;
Platform* g_current = &g_linuxPlatform;

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}
} // namespace

Platform& Platform::Instance()
{
    return *g_current;
}

void Platform::SetInstance(Platform* platform)
{
    g_current = platform ? platform : &g_linuxPlatform;
}

std::string LinuxPlatform::HomeFolder() const
{
    std::string home = Environment("HOME");
    if (home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            home = pw->pw_dir;
    }
    while (home.size() > 1 && home.back() == kPathSeparator)
        home.pop_back();
    return home;
}

Expected<std::string, Error> LinuxPlatform::ShellFolder(int folderId) const
{
    if (folderId != kApplicationDataFolder)
        return Unexpected{Error{std::string(kInvalidFolderIdText), {}, EINVAL}};
    const Unexpected<Error> missing{{std::string(kNoDataFolderText), {}, ENOENT}};
    // The XDG data home is where desktop programs keep per-user data on Linux.
    std::string folder = Environment("XDG_DATA_HOME");
    if (folder.empty() || folder.front() != kPathSeparator) {
        const std::string home = HomeFolder();
        if (home.empty())
            return missing;
        folder = JoinPath(home, ".local/share");
    }
    CreateFolderPath(folder);
    if (!FolderExists(folder))
        return missing;
    while (folder.size() > 1 && folder.back() == kPathSeparator)
        folder.pop_back();
    return folder;
}

std::string LinuxPlatform::ApplicationFolder() const
{
    const std::string exe = ExecutablePath();
    if (exe.empty())
        return ".";
    const auto slash = exe.rfind(kPathSeparator);
    return slash == 0 ? std::string(1, kPathSeparator) : exe.substr(0, slash);
}

Expected<void, SpawnError> SpawnDetached(const std::vector<std::string>& argv,
                                         const std::string& workingFolder)
{
    ChildOptions options;
    options.argv = argv;
    options.searchPath = true;
    options.newSession = true;
    options.workingFolder = workingFolder;
    return SpawnDetachedProcess(options);
}

Expected<void, Error> LinuxPlatform::ShellOpen(const std::string& target)
{
    if (target.empty())
        return Unexpected{Error{"Nothing was named to open", {}, EINVAL}};
    // The handler starts in the program's folder, as every open of the program asks.
    if (const auto started = SpawnDetached({"xdg-open", target}, ApplicationFolder()); !started)
        return Unexpected{SystemError("xdg-open could not be started for " + target, started.error().code)};
    return {};
}

std::vector<ProcessEntry> LinuxPlatform::ListProcesses() const
{
    std::vector<ProcessEntry> processes;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return processes;
    const uid_t me = ::getuid();
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0')
            continue;
        const std::string base = std::string("/proc/") + entry->d_name;
        struct stat info
        {
        };
        if (::stat(base.c_str(), &info) != 0 || info.st_uid != me)
            continue;
        ProcessEntry process;
        process.pid = static_cast<int>(pid);
        std::ifstream comm(base + "/comm");
        std::getline(comm, process.name);
        char buffer[4096];
        const ssize_t n = ::readlink((base + "/exe").c_str(), buffer, sizeof buffer - 1);
        if (n > 0)
            process.executable.assign(buffer, static_cast<std::size_t>(n));
        // "pid (name) state ppid pgrp ...": the name may hold blanks and parentheses itself.
        std::ifstream statFile(base + "/stat");
        const std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
        if (const auto close = stat.rfind(')'); close != std::string::npos) {
            char state = 0;
            int parent = 0;
            if (std::sscanf(stat.c_str() + close + 1, " %c %d %d", &state, &parent, &process.group) != 3)
                process.group = 0;
        }
        processes.push_back(std::move(process));
    }
    ::closedir(proc);
    return processes;
}

bool LinuxPlatform::TerminateProcess(int pid)
{
    return pid > 0 && ::kill(pid, SIGKILL) == 0;
}

Expected<void, Error> LinuxPlatform::RequestShutdown()
{
    // -i: power off even where another program holds an inhibitor lock.
    if (const auto started = SpawnDetached({"systemctl", "poweroff", "-i"}); !started)
        return Unexpected{SystemError("systemctl could not be started to power off", started.error().code)};
    return {};
}

} // namespace zantrove
