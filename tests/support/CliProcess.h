// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zantrove::test {

// zantrove-cli run as a program of its own beside the test, with root/data as its settings home
// (a second copy of the program) and what it prints in root/out.txt and root/err.txt.
inline pid_t StartCliProcess(const std::string& root, const std::vector<std::string>& arguments)
{
    std::filesystem::create_directories(root + "/data");
    std::vector<std::string> strings{ZANTROVE_APP_DIR "/zantrove-cli"};
    strings.insert(strings.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment{"XDG_DATA_HOME=" + root + "/data"};
    for (char** entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, "XDG_DATA_HOME=", 14) != 0)
            environment.emplace_back(*entry);
    }
    std::vector<char*> argv;
    for (std::string& text : strings)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& text : environment)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    const std::string out = root + "/out.txt";
    const std::string err = root + "/err.txt";
    // Everything is made before fork: the test may have threads of its own.
    const pid_t child = ::fork();
    if (child == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || outFd < 0 || errFd < 0 || ::dup2(in, 0) < 0 || ::dup2(outFd, 1) < 0 ||
            ::dup2(errFd, 2) < 0)
            ::_exit(126);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    return child;
}

// Its exit status, or 128 + the signal that ended it.
inline int WaitForCliProcess(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Whether a live process other than this one names text on its command line.
inline bool ProcessNames(const std::string& text)
{
    DIR* proc = ::opendir("/proc");
    bool found = false;
    while (proc && !found) {
        const dirent* entry = ::readdir(proc);
        if (!entry)
            break;
        const int pid = std::atoi(entry->d_name);
        if (pid <= 0 || pid == ::getpid())
            continue;
        const std::string base = std::string("/proc/") + entry->d_name;
        std::ifstream statFile(base + "/stat");
        const std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] == 'Z' ||
            stat[close + 2] == 'X')
            continue;
        std::ifstream file(base + "/cmdline");
        const std::string commandLine((std::istreambuf_iterator<char>(file)),
                                      std::istreambuf_iterator<char>());
        found = commandLine.find(text) != std::string::npos;
    }
    if (proc)
        ::closedir(proc);
    return found;
}

// Waits up to the given time for done to hold.
template <typename Done> bool WaitUntil(Done done, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace zantrove::test
