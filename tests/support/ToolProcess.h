// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace zantrove::test {

struct ToolResult
{
    int exitCode = -1; // 128 + the signal that ended it; -1 when it could not be waited for
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

// zantrove-cli run as a program of its own beside the test, with root/data as its settings home
// (a second copy of the program) and what it prints in root/out.txt and root/err.txt. A data
// folder given is the settings home instead, for runs of one user side by side.
pid_t StartCliProcess(const std::string& root, const std::vector<std::string>& arguments,
                      const std::string& data = {});
// A child's exit status, or 128 + the signal that ended it; -1 when it cannot be waited for.
int WaitForExit(pid_t pid);

// Reads from fd until text appears in what was read or the seconds pass; returns everything read.
std::string ReadUntil(int fd, const std::string& text, double seconds);
bool IsRunning(pid_t pid);
// A live process other than this one whose command line names text (and whose name is name, when
// given); 0 when there is none.
pid_t FindProcess(const std::string& text, const std::string& name = {});
// How many processes this one started itself still run (their own children not counted).
int LiveChildren();

// Waits up to the given time for done to hold.
template <typename Done> bool WaitUntil(Done done, std::chrono::milliseconds limit)
{
    for (const auto deadline = std::chrono::steady_clock::now() + limit; !done();) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace zantrove::test
