// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/ToolProcess.h"

#include "tests/support/TestHome.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace zantrove::test {

namespace {

std::vector<char*> ArgvOf(const std::vector<std::string>& argv)
{
    std::vector<char*> pointers;
    for (const std::string& argument : argv)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// "pid (comm) state ppid ...": comm may hold blanks and parentheses, so fields count from the last ")".
bool ReadStat(pid_t pid, char& state, pid_t& parent)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return false;
    std::istringstream fields(text.substr(close + 1));
    long parentId = 0;
    if (!(fields >> state >> parentId))
        return false;
    parent = static_cast<pid_t>(parentId);
    return true;
}

int ExitCodeOf(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

ToolResult RunTool(const std::vector<std::string>& argv, const std::string& workingFolder)
{
    ToolResult result;
    const std::string folder = MakeTempFolder("run");
    const std::string outFile = folder + "/out";
    const std::string errFile = folder + "/err";
    std::vector<char*> pointers = ArgvOf(argv);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(126);
        if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0)
            ::_exit(126);
        ::execvp(pointers[0], pointers.data());
        ::_exit(127);
    }
    if (pid < 0)
        return result;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = ExitCodeOf(status);
    result.out = ReadTextFile(outFile);
    result.err = ReadTextFile(errFile);
    return result;
}

RunningTool StartTool(const std::vector<std::string>& argv, const std::string& errorFile)
{
    RunningTool running;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return running;
    std::vector<char*> pointers = ArgvOf(argv);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int err = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(pipeEnds[1], 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(126);
        ::execvp(pointers[0], pointers.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    if (pid < 0) {
        ::close(pipeEnds[0]);
        return running;
    }
    running.pid = pid;
    running.outFd = pipeEnds[0];
    return running;
}

std::string ReadUntil(int fd, const std::string& text, double seconds)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    std::string read;
    while (read.find(text) == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, static_cast<int>(left)) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        read.append(buffer, static_cast<std::size_t>(got));
    }
    return read;
}

std::vector<pid_t> ChildrenOf(pid_t pid)
{
    std::vector<pid_t> children;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return children;
    while (const dirent* entry = ::readdir(proc)) {
        char* end = nullptr;
        const long id = std::strtol(entry->d_name, &end, 10);
        if (id <= 0 || *end != '\0')
            continue;
        char state = 0;
        pid_t parent = 0;
        if (ReadStat(static_cast<pid_t>(id), state, parent) && parent == pid && state != 'Z' && state != 'X')
            children.push_back(static_cast<pid_t>(id));
    }
    ::closedir(proc);
    return children;
}

bool IsRunning(pid_t pid)
{
    char state = 0;
    pid_t parent = 0;
    return ReadStat(pid, state, parent) && state != 'Z' && state != 'X';
}

std::string ProcessName(pid_t pid)
{
    std::string name = ReadTextFile("/proc/" + std::to_string(pid) + "/comm");
    while (!name.empty() && name.back() == '\n')
        name.pop_back();
    return name;
}

} // namespace zantrove::test
