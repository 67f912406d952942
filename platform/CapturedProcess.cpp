// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CapturedProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zantrove {

CapturedRun RunCaptured(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs)
{
    CapturedRun run;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int output[2];
    int failure[2]; // carries the exec error back; closes by itself when exec succeeds
    if (::pipe2(output, O_CLOEXEC) != 0) {
        run.startError = errno;
        return run;
    }
    if (::pipe2(failure, O_CLOEXEC) != 0) {
        run.startError = errno;
        ::close(output[0]);
        ::close(output[1]);
        return run;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // Only async-signal-safe calls from here: the caller may be a threaded window program.
        ::setpgid(0, 0);
        const int input = ::open("/dev/null", O_RDONLY);
        if (input >= 0)
            ::dup2(input, STDIN_FILENO);
        ::dup2(output[1], STDOUT_FILENO);
        ::dup2(output[1], STDERR_FILENO);
        ::signal(SIGPIPE, SIG_DFL);
        ::execv(program.c_str(), argv.data());
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(failure[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(output[1]);
    ::close(failure[1]);
    if (child < 0) {
        run.startError = errno;
        ::close(output[0]);
        ::close(failure[0]);
        return run;
    }
    int error = 0;
    ssize_t got = 0;
    while ((got = ::read(failure[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(failure[0]);
    run.started = got != static_cast<ssize_t>(sizeof error);
    if (!run.started)
        run.startError = error;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[4096];
    while (run.started) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            run.timedOut = true;
            ::kill(-child, SIGKILL);
            break;
        }
        pollfd entry{output[0], POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR)
            break;
        if (ready <= 0)
            continue; // the deadline is looked at again above
        const ssize_t read = ::read(output[0], buffer, sizeof buffer);
        if (read > 0)
            run.output.append(buffer, static_cast<std::size_t>(read));
        else if (read == 0 || errno != EINTR)
            break;
    }
    ::close(output[0]);
    // A program may close its outputs and still go on; the deadline holds for its end too.
    int status = 0;
    while (true) {
        const pid_t ended = ::waitpid(child, &status, run.timedOut ? 0 : WNOHANG);
        if (ended == child || (ended < 0 && errno != EINTR))
            break;
        if (ended == 0 && std::chrono::steady_clock::now() >= deadline) {
            run.timedOut = true;
            ::kill(-child, SIGKILL);
        } else if (ended == 0) {
            ::usleep(5000);
        }
    }
    if (run.started && !run.timedOut && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

} // namespace zantrove
