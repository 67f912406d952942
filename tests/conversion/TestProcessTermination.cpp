// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ProcessTermination.h"
#include "platform/Platform.h"
#include "tests/support/CliProcess.h"
#include "tests/support/TestHome.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace zantrove {
namespace {

// A process table of our own; records what would have been ended, and may refuse to end anything.
class FakeProcessPlatform : public Platform
{
public:
    std::vector<ProcessEntry> processes;
    std::vector<int> terminated;
    bool refuse = false;

    FolderLookup ShellFolder(int) const override { return {}; }
    std::string ApplicationFolder() const override { return {}; }
    std::string HomeFolder() const override { return {}; }
    bool ShellOpen(const std::string&) override { return false; }
    std::vector<ProcessEntry> ListProcesses() const override { return processes; }
    bool TerminateProcess(int pid) override { return terminated.push_back(pid), !refuse; }
    bool RequestShutdown() override { return false; }
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

// Real processes: a copy of sleep staged under a name that carries this test's process id, so
// encoders elsewhere on the machine are left alone. The long name is cut by the kernel at 15
// characters and asked for in capitals.
TEST(ProcessTerminationTest, EndsARealProcessByItsShortOrCutName)
{
    const std::string id = std::to_string(::getpid());
    for (const std::string& name : {"z" + id + ".exe", "Staged" + id + "Zantrove.exe"}) {
        const std::string program = test::MakeTempFolder("staged") + "/" + name;
        std::filesystem::copy_file("/bin/sleep", program);
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        const pid_t child = ::fork();
        if (child == 0) {
            ::execl(program.c_str(), name.c_str(), "30", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ASSERT_GT(child, 0);
        // Wait until the exec has happened, so the process carries its new name.
        const std::string exe = "/proc/" + std::to_string(child) + "/exe";
        ASSERT_TRUE(test::WaitUntil([&] { return std::filesystem::read_symlink(exe).filename() == name; },
                                    std::chrono::seconds(2)));
        std::string asked = name;
        if (name.size() > 15)
            std::ranges::transform(asked, asked.begin(), [](unsigned char c) { return std::toupper(c); });
        EXPECT_GE(TerminateProcessByName(Platform::Instance(), asked, static_cast<int>(::getpgrp())), 1);
        int status = 0;
        const bool ended = test::WaitUntil([&] { return ::waitpid(child, &status, WNOHANG) == child; },
                                           std::chrono::seconds(5));
        if (!ended) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
        }
        EXPECT_TRUE(ended && WIFSIGNALED(status)) << name;
    }
}

} // namespace
} // namespace zantrove
