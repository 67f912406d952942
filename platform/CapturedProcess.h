// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace zantrove {

struct CapturedRun
{
    bool started = false;
    int startError = 0; // the errno value that kept the program from running
    int exitCode = -1;  // its exit status when it exited by itself
    bool timedOut = false;
    std::string output; // standard output and standard error as they came
};

// Runs a program (a path, no PATH lookup) to its end with both outputs captured and nothing on its
// input. After timeoutMs it and whatever it started are killed, so a hung program cannot hold
// the caller.
CapturedRun RunCaptured(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs);

} // namespace zantrove
