// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Expected.h"

#include <csignal>
#include <optional>
#include <string>
#include <vector>

namespace zantrove {

// What a standard descriptor of the child becomes.
inline constexpr int kInheritFd = -1;    // the caller's own
inline constexpr int kNullDeviceFd = -2; // the null device, so the child reads nothing

// How a program is started. Everything is prepared before the fork; after it the child makes only
// async-signal-safe calls, since the caller may be a threaded window program.
struct ChildOptions
{
    std::vector<std::string> argv;
    // The file to run, argv[0] when empty: a path, or with searchPath a name without '/' looked up
    // on PATH.
    std::string program;
    bool searchPath = false;
    // Entered before the program starts; when it cannot be entered the child stays where it is.
    std::string workingFolder;
    bool newProcessGroup = false;
    bool newSession = false;
    // Killed when the forking thread ends, even when the caller is killed outright.
    bool dieWithParent = false;
    int stdinFd = kInheritFd;
    int stdoutFd = kInheritFd;
    int stderrFd = kInheritFd;
    // Descriptors above 2 that the caller opened without close-on-exec do not reach the program.
    bool closeOtherFds = false;
    // Signals whose handlers go back to the default before the mask below is put in place.
    std::vector<int> defaultSignals;
    // The program's signal mask; the caller's when absent.
    std::optional<sigset_t> signalMask;
};

struct SpawnError
{
    int code = 0;         // the errno value
    bool inChild = false; // the fork worked; the program could not be started in the child
};

// Starts the program and returns its process id once it runs, or why it could not run (a failed
// exec is reported through a close-on-exec pipe, and that child is reaped).
Expected<int, SpawnError> SpawnProcess(const ChildOptions& options);

// Starts the program through a second fork, so it is nobody's child here: no zombie is left and the
// caller never waits for it.
Expected<void, SpawnError> SpawnDetachedProcess(const ChildOptions& options);

} // namespace zantrove
