// SPDX-License-Identifier: GPL-3.0-or-later
// Which processes a cancel ends; the real ones are ended in the conversion window's and the CLI's tests.
#include "conversion/ProcessTermination.h"
#include "tests/support/FoldersOnlyPlatform.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace zantrove {
namespace {

// A process table of our own; records what would have been ended, and may refuse to end anything.
class FakeProcessPlatform : public test::FoldersOnlyPlatform
{
public:
    FakeProcessPlatform() : FoldersOnlyPlatform(Platform::Instance()) {}
    std::vector<ProcessEntry> processes;
    std::vector<int> terminated;
    bool refuse = false;

    std::vector<ProcessEntry> ListProcesses() const override { return processes; }
    bool TerminateProcess(int pid) override { return terminated.push_back(pid), !refuse; }
};

TEST(ProcessTerminationTest, EndsEveryMatchOfItsGroupByTheEndOfTheNameInAnyCaseOnceAndNeverItself)
{
    FakeProcessPlatform platform;
    platform.processes = {
        {101, "Zantrove.exe", "/a/Zantrove.exe", 7},
        {102, "MyZantrove.EXE", "", 7},
        // The kernel cut the name at 15 characters; the executable still carries it whole.
        {103, "VeryLongPrefixZ", "/tmp/VeryLongPrefixZantrove.exe (deleted)", 7},
        {::getpid(), "Zantrove.exe", "/b/Zantrove.exe", 7},
        {201, "Zantrove.exe.ba", "/tmp/Zantrove.exe.bak", 7},
        {202, "Zantrove", "/usr/bin/Zantrove", 7},
        {203, "antrove.exe", "/tmp/antrove.exe", 7},
        {204, "sh", "/usr/bin/Zantrove.exe.sh", 7},
        {205, "Zantrove.exe", "/a/Zantrove.exe", 8}, // the encoder of a run beside it
        {206, "Zantrove.exe", "/a/Zantrove.exe", 0},
    };
    EXPECT_EQ(TerminateProcessByName(platform, "zantrove.exe", 7), 3);
    EXPECT_EQ(platform.terminated, (std::vector<int>{101, 102, 103}));
    // An empty name or no group ends nothing; a process that cannot be ended is not counted.
    EXPECT_EQ(TerminateProcessByName(platform, "", 7) + TerminateProcessByName(platform, "Zantrove.exe", -1) +
                  TerminateProcessByName(platform, "Zantrove.exe", 0),
              0);
    EXPECT_EQ(platform.terminated.size(), 3u);
    platform.refuse = true;
    EXPECT_EQ(TerminateProcessByName(platform, "Zantrove.exe", 7), 0);
    EXPECT_EQ(platform.terminated.size(), 6u);
}

} // namespace
} // namespace zantrove
