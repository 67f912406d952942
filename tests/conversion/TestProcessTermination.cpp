// SPDX-License-Identifier: GPL-3.0-or-later
// Which processes a cancel ends; the real ones are ended in the conversion window's and the CLI's tests.
#include "conversion/ProcessTermination.h"
#include "tests/support/FoldersOnlyPlatform.h"

#include <gtest/gtest.h>
#include <tuple>
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

TEST(ProcessTerminationTest, MatchesTheEndOfTheNameInAnyCase)
{
    // The name, the executable, and whether the process is ended.
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"zantrove.EXE", "/home/u/.local/share/Zantrove/zantrove.EXE", true},
        {"MyZantrove.exe", "", true},
        {"Zantrove.exe.ba", "/tmp/Zantrove.exe.bak", false},
        {"Zantrove", "/usr/bin/Zantrove", false},
        {"antrove.exe", "/tmp/antrove.exe", false},
        // The kernel cut the name at 15 characters; the executable still carries it whole.
        {"VeryLongPrefixZ", "/tmp/VeryLongPrefixZantrove.exe (deleted)", true},
        {"sh", "/usr/bin/Zantrove.exe.sh", false},
    };
    for (const auto& [name, executable, ended] : cases) {
        FakeProcessPlatform platform;
        platform.processes = {{4242, name, executable, 7}};
        EXPECT_EQ(TerminateProcessByName(platform, "Zantrove.exe", 7), ended ? 1 : 0) << name << executable;
        EXPECT_EQ(platform.terminated.size(), ended ? 1u : 0u) << name;
    }
}

TEST(ProcessTerminationTest, EndsEveryMatchOfItsGroupOnceAndNeverItself)
{
    FakeProcessPlatform platform;
    platform.processes = {
        {101, "Zantrove.exe", "/a/Zantrove.exe", 7}, {::getpid(), "Zantrove.exe", "/b/Zantrove.exe", 7},
        {102, "bash", "/usr/bin/bash", 7},           {103, "zantrove.exe", "/c/zantrove.exe", 7},
        {104, "Zantrove.exe", "/a/Zantrove.exe", 8}, // the encoder of a run beside it
        {105, "Zantrove.exe", "/a/Zantrove.exe", 0},
    };
    EXPECT_EQ(TerminateProcessByName(platform, "zantrove.exe", 7), 2);
    EXPECT_EQ(platform.terminated, (std::vector<int>{101, 103}));
    // An empty name or no group ends nothing; a process that cannot be ended is not counted.
    EXPECT_EQ(TerminateProcessByName(platform, "", 7) + TerminateProcessByName(platform, "Zantrove.exe", -1) +
                  TerminateProcessByName(platform, "Zantrove.exe", 0),
              0);
    EXPECT_EQ(platform.terminated.size(), 2u);
    platform.refuse = true;
    EXPECT_EQ(TerminateProcessByName(platform, "Zantrove.exe", 7), 0);
    EXPECT_EQ(platform.terminated.size(), 4u);
}

} // namespace
} // namespace zantrove
