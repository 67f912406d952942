// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Error.h"
#include "base/Expected.h"

#include <cerrno>
#include <string>
#include <vector>

namespace zantrove {

// A program that ran to its end, whatever its status: callers read the output of a failed run too.
struct CapturedRun
{
    int exitCode = -1;  // its exit status when it exited by itself
    std::string output; // standard output and standard error as they came
};

// The code of the error of a program that was killed at its time limit.
inline constexpr int kTimedOutCode = ETIMEDOUT;

// Runs a program (a path, no PATH lookup) to its end with both outputs captured and nothing on its
// input. After timeoutMs it and whatever it started are killed, so a hung program cannot hold
// the caller. The error: it could not be started (the errno value as code), or it was killed at the
// time limit (kTimedOutCode).
[[nodiscard]] Expected<CapturedRun, Error>
RunCaptured(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs);

} // namespace zantrove
