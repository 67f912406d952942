// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/tools/ToolProcess.h"

#include "tests/support/TestHome.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zantrove::test {

namespace {

// Standard input from /dev/null, output to outFd (or a new outFile), errors to errFile.
pid_t Spawn(const std::vector<std::string>& argv, int outFd, const std::string& outFile,
            const std::string& errFile, const std::string& workingFolder)
{
    std::vector<char*> pointers;
    for (const std::string& argument : argv)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    const int out = outFd >= 0 ? outFd : ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (::dup2(::open("/dev/null", O_RDONLY), 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
        (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0))
        ::_exit(126);
    ::execvp(pointers[0], pointers.data());
    ::_exit(127);
}

} // namespace

ToolResult RunTool(const std::vector<std::string>& argv, const std::string& workingFolder)
{
    const std::string folder = MakeTempFolder("run");
    const pid_t pid = Spawn(argv, -1, folder + "/out", folder + "/err", workingFolder);
    int status = 0;
    while (pid > 0 && ::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return {pid > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadTextFile(folder + "/out"),
            ReadTextFile(folder + "/err")};
}

RunningTool StartTool(const std::vector<std::string>& argv, const std::string& errorFile)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return {};
    const pid_t pid = Spawn(argv, ends[1], {}, errorFile, {});
    ::close(ends[1]);
    return {pid, ends[0]};
}

std::string ReadUntil(int fd, const std::string& text, double seconds)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    std::string read;
    char buffer[4096];
    for (pollfd waiting{fd, POLLIN, 0}; read.find(text) == std::string::npos && Clock::now() < deadline;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (::poll(&waiting, 1, static_cast<int>(left.count()) + 1) <= 0)
            continue;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        read.append(buffer, static_cast<std::size_t>(got));
    }
    return read;
}

// "pid (comm) state ...": comm may hold blanks and parentheses, so the state follows the last ")".
bool IsRunning(pid_t pid)
{
    const std::string stat = ReadTextFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t close = stat.rfind(") ");
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z' &&
           stat[close + 2] != 'X';
}

} // namespace zantrove::test
