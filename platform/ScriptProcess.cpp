// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ScriptProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace zantrove {

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
// One read call never takes more than this, so a flood of output cannot starve the caller's loop.
constexpr std::size_t kMaxReadPerCall = 1024 * 1024;
constexpr int kStopGraceMs = 300;
constexpr int kStopPollMs = 10;

void SleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void CloseQuietly(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

// Runs in the forked child, so only async-signal-safe calls: descriptors the caller opened without
// close-on-exec must not leak into the encoder.
void MarkCloseOnExecFrom(int first, int limit)
{
#ifdef CLOSE_RANGE_CLOEXEC
    if (::close_range(static_cast<unsigned>(first), ~0U, CLOSE_RANGE_CLOEXEC) == 0)
        return;
#endif
    for (int fd = first; fd < limit; ++fd)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

} // namespace

ScriptProcess::~ScriptProcess()
{
    Stop();
}

int ScriptProcess::Start(const std::string& scriptPath)
{
    if (IsRunning())
        return EBUSY;
    struct stat info
    {
    };
    if (::stat(scriptPath.c_str(), &info) != 0)
        return errno;

    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return errno;
    // The child writes its exec error here; the pipe closes by itself when exec succeeds.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        const int error = errno;
        CloseQuietly(output[0]);
        CloseQuietly(output[1]);
        return error;
    }
    const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (devNull < 0) {
        const int error = errno;
        for (int fd : {output[0], output[1], report[0], report[1]})
            CloseQuietly(fd);
        return error;
    }

    // Everything the child needs is prepared before fork; after it only async-signal-safe calls.
    const char* argv[] = {"sh", "-v", scriptPath.c_str(), nullptr};
    rlimit files{};
    const int fdLimit = ::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY
                            ? static_cast<int>(std::min<rlim_t>(files.rlim_cur, 65536))
                            : 65536;

    const pid_t owner = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        const int error = errno;
        for (int fd : {output[0], output[1], report[0], report[1], devNull})
            CloseQuietly(fd);
        return error;
    }
    if (pid == 0) {
        // The run ends with its owner, even one killed outright; the encoder ends with the shell. An
        // owner that died before this line is no longer our parent.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != owner)
            ::_exit(127);
        // Its own group, so Stop reaches the shell and the encoder it runs with one signal.
        ::setpgid(0, 0);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        struct sigaction defaults
        {
        };
        defaults.sa_handler = SIG_DFL;
        ::sigaction(SIGPIPE, &defaults, nullptr);
        ::dup2(devNull, STDIN_FILENO);
        ::dup2(output[1], STDOUT_FILENO);
        ::dup2(output[1], STDERR_FILENO);
        MarkCloseOnExecFrom(3, fdLimit);
        ::execve("/bin/sh", const_cast<char* const*>(argv), environ);
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }

    // Also set here, so the group exists before anyone could signal it; the child may have won.
    ::setpgid(pid, pid);
    CloseQuietly(output[1]);
    CloseQuietly(report[1]);
    CloseQuietly(devNull);
    int childError = 0;
    ssize_t n = 0;
    do {
        n = ::read(report[0], &childError, sizeof childError);
    } while (n < 0 && errno == EINTR);
    CloseQuietly(report[0]);
    if (n == static_cast<ssize_t>(sizeof childError)) {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        CloseQuietly(output[0]);
        return childError != 0 ? childError : ENOEXEC;
    }

    ::fcntl(output[0], F_SETFL, ::fcntl(output[0], F_GETFL) | O_NONBLOCK);
    m_pid = pid;
    m_fd = output[0];
    m_waitStatus = -1;
    m_pending.clear();
    return 0;
}

void ScriptProcess::SplitPending(std::vector<std::string>& pieces)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < m_pending.size(); ++i) {
        const char c = m_pending[i];
        if (c != '\r' && c != '\n')
            continue;
        if (c == '\r' && i + 1 < m_pending.size() && m_pending[i + 1] == '\n')
            ++i;
        pieces.push_back(m_pending.substr(start, i + 1 - start));
        start = i + 1;
    }
    m_pending.erase(0, start);
}

ScriptOutput ScriptProcess::ReadAvailable()
{
    ScriptOutput output;
    if (m_fd < 0)
        return output;
    char buffer[kReadChunk];
    std::size_t total = 0;
    bool endOfStream = false;
    while (total < kMaxReadPerCall) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            m_pending.append(buffer, static_cast<std::size_t>(n));
            total += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // End of the stream, or a read error that leaves nothing more to read.
        endOfStream = true;
        break;
    }
    SplitPending(output.pieces);
    if (!endOfStream)
        return output;

    if (!m_pending.empty())
        output.pieces.push_back(std::move(m_pending));
    m_pending.clear();
    CloseFd();
    // Every writer has closed the pipe, so the shell has exited or is about to.
    int status = 0;
    pid_t reaped = 0;
    do {
        reaped = ::waitpid(m_pid, &status, 0);
    } while (reaped < 0 && errno == EINTR);
    m_waitStatus = reaped == m_pid ? status : -1;
    m_pid = -1;
    output.ended = true;
    return output;
}

void ScriptProcess::Stop()
{
    if (m_pid <= 0)
        return;
    const pid_t group = m_pid;
    CloseFd();
    m_pending.clear();

    ::kill(-group, SIGTERM);
    bool reaped = false;
    bool groupGone = false;
    for (int waited = 0; waited <= kStopGraceMs && !groupGone; waited += kStopPollMs) {
        if (!reaped) {
            const pid_t r = ::waitpid(group, nullptr, WNOHANG);
            reaped = r == group || (r < 0 && errno == ECHILD);
        }
        groupGone = reaped && ::kill(-group, 0) != 0 && errno == ESRCH;
        if (!groupGone)
            SleepMs(kStopPollMs);
    }
    if (!groupGone)
        ::kill(-group, SIGKILL);
    if (!reaped) {
        while (::waitpid(group, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    m_pid = -1;
    m_waitStatus = -1;
}

void ScriptProcess::CloseFd()
{
    CloseQuietly(m_fd);
    m_fd = -1;
}

} // namespace zantrove
