// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversion/ProcessTermination.h"
#include "platform/Platform.h"
#include "tests/support/TestHome.h"

#include <cctype>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zantrove {
namespace {

// A process table of our own; records what would have been ended.
class FakeProcessPlatform : public Platform
{
public:
    std::vector<ProcessEntry> processes;
    std::vector<int> terminated;

    FolderLookup ShellFolder(int) const override { return {}; }
    std::string ApplicationFolder() const override { return {}; }
    std::string HomeFolder() const override { return {}; }
    bool ShellOpen(const std::string&) override { return false; }
    std::vector<ProcessEntry> ListProcesses() const override { return processes; }
    bool TerminateProcess(int pid) override
    {
        terminated.push_back(pid);
        return true;
    }
    bool RequestShutdown() override { return false; }
};

struct NameCase
{
    const char* name;
    const char* executable;
    bool ended;
};

TEST(ProcessTerminationTest, MatchesTheEndOfTheNameInAnyCase)
{
    const NameCase cases[] = {
        {"Zantrove.exe", "/home/u/.local/share/Zantrove/Zantrove.exe", true},
        {"zantrove.EXE", "", true},
        {"MyZantrove.exe", "/opt/MyZantrove.exe", true},
        {"ZANTROVE.EXE", "/tmp/ZANTROVE.EXE", true},
        {"Zantrove.exe.ba", "/tmp/Zantrove.exe.bak", false},
        {"Zantrove.exe.bak", "", false},
        {"Zantrove", "/usr/bin/Zantrove", false},
        {"ffmpeg", "/usr/bin/ffmpeg", false},
        {"antrove.exe", "/tmp/antrove.exe", false},
        // The kernel cut the name at 15 characters; the executable still carries it whole.
        {"VeryLongPrefixZ", "/tmp/VeryLongPrefixZantrove.exe", true},
        {"VeryLongPrefixZ", "/tmp/VeryLongPrefixZantrove.exe (deleted)", true},
        {"sh", "/usr/bin/Zantrove.exe.sh", false},
    };
    for (const auto& c : cases) {
        FakeProcessPlatform platform;
        platform.processes = {{4242, c.name, c.executable, 7}};
        const int ended = TerminateProcessByName(platform, "Zantrove.exe", 7);
        EXPECT_EQ(ended, c.ended ? 1 : 0) << c.name << " " << c.executable;
        EXPECT_EQ(platform.terminated, c.ended ? std::vector<int>{4242} : std::vector<int>{})
            << c.name << " " << c.executable;
    }
}

TEST(ProcessTerminationTest, EndsEveryMatchOfItsGroupOnceAndNeverItself)
{
    FakeProcessPlatform platform;
    const int self = static_cast<int>(::getpid());
    platform.processes = {
        {101, "Zantrove.exe", "/a/Zantrove.exe", 7}, {self, "Zantrove.exe", "/b/Zantrove.exe", 7},
        {102, "bash", "/usr/bin/bash", 7},           {103, "zantrove.exe", "/c/zantrove.exe", 7},
        {104, "Zantrove.exe", "/a/Zantrove.exe", 8}, // the encoder of a run beside it
        {105, "Zantrove.exe", "/a/Zantrove.exe", 0},
    };
    EXPECT_EQ(TerminateProcessByName(platform, "zantrove.exe", 7), 2);
    EXPECT_EQ(platform.terminated, (std::vector<int>{101, 103}));
}

TEST(ProcessTerminationTest, EmptyNameOrNoGroupEndsNothing)
{
    FakeProcessPlatform platform;
    platform.processes = {{101, "Zantrove.exe", "/a/Zantrove.exe", 7}, {102, "bash", "/usr/bin/bash", 7}};
    EXPECT_EQ(TerminateProcessByName(platform, "", 7), 0);
    EXPECT_EQ(TerminateProcessByName(platform, "Zantrove.exe", -1), 0);
    EXPECT_EQ(TerminateProcessByName(platform, "Zantrove.exe", 0), 0);
    EXPECT_TRUE(platform.terminated.empty());
}

TEST(ProcessTerminationTest, ProcessThatCannotBeEndedIsNotCounted)
{
    class RefusingPlatform : public FakeProcessPlatform
    {
    public:
        bool TerminateProcess(int pid) override
        {
            terminated.push_back(pid);
            return false;
        }
    } platform;
    platform.processes = {{101, "Zantrove.exe", "", 7}};
    EXPECT_EQ(TerminateProcessByName(platform, "Zantrove.exe", 7), 0);
    EXPECT_EQ(platform.terminated, std::vector<int>{101});
}

// Starts `program` with argv[0] = its file name and `argument`; returns the child's pid.
pid_t StartCopy(const std::string& program, const char* argument)
{
    const std::string name = std::filesystem::path(program).filename().string();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(program.c_str(), name.c_str(), argument, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return child;
}

bool WaitForEnd(pid_t child, int& status, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(child, &status, WNOHANG) == child)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Real processes: a copy of sleep staged under an encoder-like name. The name carries this test's
// process id, so encoders of conversions running elsewhere on the machine are left alone.
void CheckRealTermination(const std::string& imageName, const std::string& askedName)
{
    const std::string folder = test::MakeTempFolder("staged");
    const std::string program = folder + "/" + imageName;
    std::filesystem::copy_file("/bin/sleep", program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const pid_t child = StartCopy(program, "30");
    ASSERT_GT(child, 0);
    // Wait until the exec has happened, so the process carries its new name.
    const std::string exeLink = "/proc/" + std::to_string(child) + "/exe";
    for (int i = 0; i < 200 && std::filesystem::read_symlink(exeLink).filename() != imageName; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(std::filesystem::read_symlink(exeLink).filename(), imageName);

    // The copy runs in this test's own process group.
    EXPECT_GE(TerminateProcessByName(Platform::Instance(), askedName, static_cast<int>(::getpgrp())), 1);
    int status = 0;
    const bool ended = WaitForEnd(child, status, std::chrono::seconds(5));
    if (!ended) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    ASSERT_TRUE(ended);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_FALSE(std::filesystem::exists("/proc/" + std::to_string(child)));
}

TEST(ProcessTerminationTest, EndsARealProcessByItsShortName)
{
    // At most 15 characters, so the kernel's own name of the process matches.
    const std::string name = "z" + std::to_string(::getpid()) + ".exe";
    ASSERT_LE(name.size(), 15u);
    CheckRealTermination(name, name);
}

TEST(ProcessTerminationTest, EndsARealProcessWhoseNameTheKernelCut)
{
    const std::string name = "Staged" + std::to_string(::getpid()) + "Zantrove.exe";
    ASSERT_GT(name.size(), 15u);
    std::string upper = name;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    CheckRealTermination(name, upper);
}

} // namespace
} // namespace zantrove
