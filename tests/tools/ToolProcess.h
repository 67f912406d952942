// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace zantrove::test {

struct ToolResult
{
    int exitCode = -1; // -1 when the program did not exit by itself
    std::string out;
    std::string err;
};

// Runs a program (no shell) to its end with both outputs captured; workingFolder empty keeps ours.
ToolResult RunTool(const std::vector<std::string>& argv, const std::string& workingFolder = {});

// A program whose standard output can be read as it comes; errors go to errorFile.
struct RunningTool
{
    pid_t pid = -1;
    int outFd = -1;
};
RunningTool StartTool(const std::vector<std::string>& argv, const std::string& errorFile);

// Reads from fd until text appears in what was read or the seconds pass; returns everything read.
std::string ReadUntil(int fd, const std::string& text, double seconds);
bool IsRunning(pid_t pid);

} // namespace zantrove::test
