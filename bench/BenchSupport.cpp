// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchSupport.h"

#include <algorithm>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zantrove::bench {

namespace {

int Spawn(const std::vector<std::string>& arguments, int captureFd, int writeEnd, int readEnd)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        if (fd == captureFd)
            posix_spawn_file_actions_adddup2(&actions, writeEnd, fd);
        else
            posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_WRONLY, 0);
    }
    if (readEnd >= 0)
        posix_spawn_file_actions_addclose(&actions, readEnd);
    std::vector<char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

int Wait(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

int RunQuiet(const std::vector<std::string>& arguments)
{
    const pid_t pid = Spawn(arguments, -1, -1, -1);
    return pid < 0 ? -1 : Wait(pid);
}

Captured RunCaptured(const std::vector<std::string>& arguments, Capture which)
{
    Captured result;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return result;
    const int captureFd = which == Capture::Output ? STDOUT_FILENO : STDERR_FILENO;
    const pid_t pid = Spawn(arguments, captureFd, pipeEnds[1], pipeEnds[0]);
    close(pipeEnds[1]);
    if (pid >= 0) {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
            result.text.append(buffer, static_cast<std::size_t>(got));
        result.status = Wait(pid);
    }
    close(pipeEnds[0]);
    return result;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace zantrove::bench
