// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CapturedProcess.h"

#include "platform/ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zantrove {

Expected<CapturedRun, Error> RunCaptured(const std::string& program,
                                         const std::vector<std::string>& arguments, int timeoutMs)
{
    const std::string notRun = program + " could not be run";
    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return Unexpected{SystemError(notRun, errno)};
    ChildOptions options;
    options.argv.push_back(program);
    options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
    // Its own group, so the deadline ends whatever it started as well.
    options.newProcessGroup = true;
    options.stdinFd = kNullDeviceFd;
    options.stdoutFd = output[1];
    options.stderrFd = output[1];
    options.defaultSignals = {SIGPIPE};
    const Expected<int, SpawnError> started = SpawnProcess(options);
    ::close(output[1]);
    if (!started) {
        ::close(output[0]);
        return Unexpected{SystemError(notRun, started.error().code)};
    }
    const pid_t child = *started;
    CapturedRun run;
    bool timedOut = false;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[4096];
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
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
        const pid_t ended = ::waitpid(child, &status, timedOut ? 0 : WNOHANG);
        if (ended == child || (ended < 0 && errno != EINTR))
            break;
        if (ended == 0 && std::chrono::steady_clock::now() >= deadline) {
            timedOut = true;
            ::kill(-child, SIGKILL);
        } else if (ended == 0) {
            ::usleep(5000);
        }
    }
    if (timedOut)
        return Unexpected{Error{program + " did not finish",
                                "stopped after " + std::to_string(timeoutMs / 1000) + " s", kTimedOutCode}};
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

} // namespace zantrove
