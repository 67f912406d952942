// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/encoder/FfmpegRunner.h"

#include "platform/ChildProcess.h"
#include "platform/CurrentProcess.h"
#include "platform/FileSystem.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace zantrove {

namespace {

volatile sig_atomic_t g_child = 0;
volatile sig_atomic_t g_received = 0;

constexpr std::array<int, 3> kForwarded{SIGTERM, SIGINT, SIGHUP};
// ffmpeg blocked on an input that never comes (a FIFO) ignores a polite stop; after this it is killed.
constexpr int kStopGraceMs = 3000;
constexpr int kStopPollMs = 100;

void ForwardSignal(int signal)
{
    g_received = signal;
    if (g_child > 0)
        ::kill(static_cast<pid_t>(g_child), signal);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

// Passes ffmpeg's error output on and keeps its last line that is not blank.
void TakeErrorOutput(std::string_view chunk, std::string& pending, FfmpegOutcome& outcome)
{
    for (std::string_view rest = chunk; !rest.empty();) {
        const ssize_t written = ::write(STDERR_FILENO, rest.data(), rest.size());
        if (written <= 0 && errno != EINTR)
            break;
        if (written > 0)
            rest.remove_prefix(static_cast<std::size_t>(written));
    }
    outcome.reportedErrors = true;
    pending.append(chunk);
    for (std::size_t end; (end = pending.find_first_of("\r\n")) != std::string::npos;) {
        if (end > 0)
            outcome.lastErrorLine = pending.substr(0, end);
        pending.erase(0, end + 1);
    }
}

} // namespace

std::string FindFfmpeg(const char* argv0)
{
    std::string self = ExecutablePath();
    if (self.empty() && argv0 && std::strchr(argv0, '/'))
        self = argv0;
    if (const std::string folder = FolderOf(self); !folder.empty()) {
        const std::string beside = folder + (folder == "/" ? "" : "/") + "ffmpeg";
        if (IsExecutableFile(beside))
            return beside;
    }
    return "ffmpeg";
}

FfmpegOutcome RunFfmpeg(const std::string& program, const std::vector<std::string>& arguments,
                        const std::function<void(std::string_view)>& onOutput)
{
    FfmpegOutcome outcome;
    struct sigaction action
    {
    };
    action.sa_handler = ForwardSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kForwarded)
        ::sigaction(signal, &action, nullptr);

    int pipeEnds[2];
    int errorEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        outcome.error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return outcome;
    }
    if (::pipe2(errorEnds, O_CLOEXEC) != 0) {
        outcome.error = std::string("cannot make a pipe: ") + std::strerror(errno);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        return outcome;
    }
    ChildOptions options;
    options.argv.push_back(program);
    options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
    options.searchPath = true;
    // Dies with us even when we are killed outright.
    options.dieWithParent = true;
    options.defaultSignals.assign(kForwarded.begin(), kForwarded.end());
    options.defaultSignals.push_back(SIGPIPE);
    options.stdoutFd = pipeEnds[1];
    options.stderrFd = errorEnds[1];

    // Held back until the child's id is known, so a signal in between still reaches ffmpeg.
    sigset_t forwarded;
    sigset_t previous;
    sigemptyset(&forwarded);
    for (const int signal : kForwarded)
        sigaddset(&forwarded, signal);
    ::sigprocmask(SIG_BLOCK, &forwarded, &previous);
    options.signalMask = previous;

    const Expected<int, SpawnError> started = SpawnProcess(options);
    if (!started) {
        ::sigprocmask(SIG_SETMASK, &previous, nullptr);
        for (const int fd : {pipeEnds[0], pipeEnds[1], errorEnds[0], errorEnds[1]})
            ::close(fd);
        const SpawnError failure = started.error();
        if (!failure.inChild) {
            outcome.error = std::string("cannot start ffmpeg: ") + std::strerror(failure.code);
            return outcome;
        }
        // Told as the child's own error output would tell it, and ended as it would end.
        std::string pending;
        outcome.started = true;
        TakeErrorOutput("Zantrove: cannot run " + program + ": " + std::strerror(failure.code) + "\n",
                        pending, outcome);
        outcome.exitCode = 127;
        outcome.receivedSignal = g_received;
        outcome.error = "cannot run " + program;
        return outcome;
    }
    const pid_t child = *started;
    g_child = child;
    ::sigprocmask(SIG_SETMASK, &previous, nullptr);
    ::close(pipeEnds[1]);
    ::close(errorEnds[1]);
    outcome.started = true;

    char buffer[4096];
    std::string pendingError;
    pollfd ends[2] = {{pipeEnds[0], POLLIN, 0}, {errorEnds[0], POLLIN, 0}};
    std::optional<std::chrono::steady_clock::time_point> killAt;
    while (ends[0].fd >= 0 || ends[1].fd >= 0) {
        const int ready = ::poll(ends, 2, g_received != 0 ? kStopPollMs : -1);
        if (g_received != 0 && !killAt)
            killAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStopGraceMs);
        if (killAt && std::chrono::steady_clock::now() >= *killAt)
            ::kill(child, SIGKILL);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (pollfd& end : ends) {
            if (end.fd < 0 || end.revents == 0)
                continue;
            const ssize_t got = ::read(end.fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                ::close(end.fd);
                end.fd = -1; // poll skips it from now on
                continue;
            }
            const std::string_view chunk(buffer, static_cast<std::size_t>(got));
            if (&end == &ends[0])
                onOutput(chunk);
            else
                TakeErrorOutput(chunk, pendingError, outcome);
        }
    }
    for (const pollfd& end : ends) {
        if (end.fd >= 0)
            ::close(end.fd);
    }
    if (!pendingError.empty())
        outcome.lastErrorLine = pendingError;

    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    g_child = 0;
    if (WIFEXITED(status))
        outcome.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        outcome.childSignal = WTERMSIG(status);
    outcome.receivedSignal = g_received;
    if (outcome.exitCode == 127 && outcome.childSignal == 0)
        outcome.error = "cannot run " + program;
    return outcome;
}

} // namespace zantrove
