// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Expected.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace zantrove {

// What one read of a running script produced.
struct ScriptOutput
{
    // Each piece ends at CR or LF (a CR LF pair stays together); only the very last piece of the
    // stream may end without one.
    std::vector<std::string> pieces;
    // True once, after the last piece: the stream is closed and the shell has been reaped.
    bool ended = false;
};

// A shell script run with `/bin/sh -v` in its own process group, standard output and standard error
// merged into one non-blocking pipe. Plain POSIX, so both the window and the command line can use it.
// The shell is killed when the thread that started it ends (Linux's parent-death signal follows the
// forking thread), so Start is called from the thread that lives as long as the run.
class ScriptProcess
{
public:
    ScriptProcess() = default;
    ~ScriptProcess();
    ScriptProcess(const ScriptProcess&) = delete;
    ScriptProcess& operator=(const ScriptProcess&) = delete;

    // Nothing when the shell runs, otherwise the errno value that prevented it.
    Expected<void, int> Start(const std::string& scriptPath);
    // Reads whatever is waiting without blocking.
    ScriptOutput ReadAvailable();
    // Ends the shell and everything in its group; afterwards nothing more is reported.
    void Stop();

    bool IsRunning() const { return m_pid > 0; }
    // The pipe to wait on; -1 when not running.
    int Fd() const { return m_fd; }
    pid_t ProcessGroup() const { return m_pid; }
    // The shell's wait status after a normal end; -1 before that or after Stop.
    int WaitStatus() const { return m_waitStatus; }

private:
    void SplitPending(std::vector<std::string>& pieces);
    void CloseFd();

    pid_t m_pid = -1;
    int m_fd = -1;
    int m_waitStatus = -1;
    std::string m_pending;
};

} // namespace zantrove
