// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ScriptProcess.h"

#include "platform/ChildProcess.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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

} // namespace

ScriptProcess::~ScriptProcess()
{
    Stop();
}

Expected<void, int> ScriptProcess::Start(const std::string& scriptPath)
{
    if (IsRunning())
        return Unexpected{EBUSY};
    if (const auto found = QueryPath(scriptPath); !found)
        return Unexpected{found.error()};

    int output[2];
    if (::pipe2(output, O_CLOEXEC) != 0)
        return Unexpected{errno};
    ChildOptions options;
    options.argv = {"sh", "-v", scriptPath};
    // The run ends with its owner, even one killed outright; the encoder ends with the shell.
    options.dieWithParent = true;
    // Its own group, so Stop reaches the shell and the encoder it runs with one signal.
    options.newProcessGroup = true;
    options.signalMask.emplace();
    sigemptyset(&*options.signalMask);
    options.defaultSignals = {SIGPIPE};
    options.stdinFd = kNullDeviceFd;
    options.stdoutFd = output[1];
    options.stderrFd = output[1];
    options.closeOtherFds = true;
    options.program = "/bin/sh";
    const Expected<int, SpawnError> started = SpawnProcess(options);
    CloseQuietly(output[1]);
    if (!started) {
        CloseQuietly(output[0]);
        return Unexpected{started.error().code};
    }

    ::fcntl(output[0], F_SETFL, ::fcntl(output[0], F_GETFL) | O_NONBLOCK);
    m_pid = *started;
    m_fd = output[0];
    m_waitStatus = -1;
    m_pending.clear();
    return {};
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
