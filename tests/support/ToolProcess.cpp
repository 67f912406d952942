// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/ToolProcess.h"

#include "tests/support/TestHome.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zantrove::test {

namespace {

// Standard input from /dev/null, output to outFd (or a new outFile), errors to errFile. Everything
// is made before the fork: the test may have threads of its own.
pid_t Spawn(const std::vector<std::string>& argv, int outFd, const std::string& outFile,
            const std::string& errFile, const std::string& workingFolder,
            const std::vector<std::string>& environment = {})
{
    const auto pointers = [](const std::vector<std::string>& strings) {
        std::vector<char*> list;
        for (const std::string& text : strings)
            list.push_back(const_cast<char*>(text.c_str()));
        list.push_back(nullptr);
        return list;
    };
    const std::vector<char*> arguments = pointers(argv), variables = pointers(environment);
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    const int out = outFd >= 0 ? outFd : ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (::dup2(::open("/dev/null", O_RDONLY), 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
        (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0))
        ::_exit(126);
    ::execvpe(arguments[0], arguments.data(), environment.empty() ? environ : variables.data());
    ::_exit(127);
}

} // namespace

ToolResult RunTool(const std::vector<std::string>& argv, const std::string& workingFolder)
{
    const std::string folder = MakeTempFolder("run");
    const pid_t pid = Spawn(argv, -1, folder + "/out", folder + "/err", workingFolder);
    return {pid > 0 ? WaitForExit(pid) : -1, ReadTextFile(folder + "/out"), ReadTextFile(folder + "/err")};
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

pid_t StartCliProcess(const std::string& root, const std::vector<std::string>& arguments,
                      const std::string& data)
{
    const std::string home = data.empty() ? root + "/data" : data;
    std::filesystem::create_directories(home);
    std::vector<std::string> argv{ZANTROVE_APP_DIR "/zantrove-cli"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment{"XDG_DATA_HOME=" + home};
    for (char** entry = environ; *entry; ++entry)
        if (std::strncmp(*entry, "XDG_DATA_HOME=", 14) != 0)
            environment.emplace_back(*entry);
    return Spawn(argv, -1, root + "/out.txt", root + "/err.txt", {}, environment);
}

int WaitForExit(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// "pid (comm) state ...": comm may hold blanks and parentheses, so the state follows the last ")".
bool IsRunning(pid_t pid)
{
    const std::string stat = ReadTextFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t close = stat.rfind(") ");
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z' &&
           stat[close + 2] != 'X';
}

pid_t FindProcess(const std::string& text, const std::string& name)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const pid_t pid = std::atoi(entry.path().filename().c_str());
        if (pid > 0 && pid != ::getpid() &&
            ReadTextFile(entry.path() / "cmdline").find(text) != std::string::npos &&
            (name.empty() || ReadTextFile(entry.path() / "comm") == name + "\n") && IsRunning(pid))
            return pid;
    }
    return 0;
}

int LiveChildren()
{
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        // "pid (name) state parent ...": the name may hold anything, so read on from its end.
        const std::string stat = ReadTextFile(entry.path() / "stat");
        const std::size_t close = stat.rfind(") ");
        if (close != std::string::npos && std::atoi(stat.c_str() + close + 4) == ::getpid())
            count += IsRunning(std::atoi(entry.path().filename().c_str()));
    }
    return count;
}

} // namespace zantrove::test
