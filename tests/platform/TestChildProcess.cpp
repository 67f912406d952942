// SPDX-License-Identifier: GPL-3.0-or-later
// The platform layer under the core: child processes and scripts, files and folders.
#include "platform/CapturedProcess.h"
#include "platform/ChildProcess.h"
#include "platform/FileCopy.h"
#include "platform/FileSystem.h"
#include "platform/RegularFile.h"
#include "platform/ScriptProcess.h"
#include "tests/support/TestHome.h"
#include "tests/support/ToolProcess.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zantrove {
namespace {
using namespace std::chrono_literals;

bool NoChildLeft()
{
    return ::waitpid(-1, nullptr, WNOHANG) < 0 && errno == ECHILD;
}

ChildOptions Options(std::vector<std::string> argv, bool searchPath = false)
{
    ChildOptions options;
    options.argv = std::move(argv);
    options.searchPath = searchPath;
    return options;
}

int StatusOf(pid_t pid)
{
    int status = -1;
    ::waitpid(pid, &status, 0);
    return status;
}

std::string Link(pid_t pid, const std::string& entry)
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/" + entry, error).string();
}

// Whether a signal's bit is set in a mask line of /proc/<pid>/status ("SigIgn:", "SigBlk:").
bool SignalIn(pid_t pid, const std::string& field, int signal)
{
    const std::string status = test::ReadTextFile("/proc/" + std::to_string(pid) + "/status");
    const std::size_t at = status.find(field);
    return at != std::string::npos &&
           (std::stoull(status.substr(at + field.size()), nullptr, 16) >> (signal - 1) & 1);
}

// What a start cannot do is said by its errno value, and the failed child is reaped; a detached
// program that runs is nobody's child here either.
TEST(ChildProcessTest, FailedAndDetachedStartsLeaveNoChildAndAFailureSaysWhy)
{
    const std::string folder = test::MakeTempFolder("exec");
    test::WriteTextFile(folder + "/not-runnable", "exit 0\n");
    test::WriteTextFile(folder + "/plain-script", "exit 7\n");
    std::filesystem::permissions(folder + "/plain-script", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    const test::ScopedEnv path("PATH", "/nonexistent:" + folder + ":/nonexistent-too");
    const struct
    {
        std::vector<std::string> argv;
        bool searchPath;
        int code;
        bool inChild;
    } cases[] = {
        {{}, false, EINVAL, false},
        {{folder + "/missing"}, false, ENOENT, true},
        {{folder + "/not-runnable"}, false, EACCES, true},
        // Only a search runs a file without "#!" line through the shell, as execvp does.
        {{folder + "/plain-script"}, false, ENOEXEC, true},
        {{"no-such-program"}, true, ENOENT, true},
        {{"not-runnable"}, true, EACCES, true},
    };
    for (const auto& [argv, searchPath, code, inChild] : cases) {
        SCOPED_TRACE(argv.empty() ? "no arguments" : argv[0]);
        const ChildOptions options = Options(argv, searchPath);
        const Expected<int, SpawnError> spawned = SpawnProcess(options);
        ASSERT_FALSE(spawned);
        EXPECT_EQ(spawned.error().code, code);
        EXPECT_EQ(spawned.error().inChild, inChild);
        EXPECT_TRUE(NoChildLeft());
        EXPECT_FALSE(SpawnDetachedProcess(options));
        EXPECT_TRUE(NoChildLeft());
    }
    const auto spawned = SpawnProcess(Options({"plain-script"}, true));
    ASSERT_TRUE(spawned);
    EXPECT_EQ(StatusOf(*spawned), 7 << 8);
    const std::string note = folder + "/note";
    ASSERT_TRUE(SpawnDetachedProcess(Options({"/bin/sh", "-c", "echo ran > '" + note + "'"})));
    EXPECT_TRUE(NoChildLeft());
    EXPECT_TRUE(test::WaitUntil([&] { return test::ReadTextFile(note) == "ran\n"; }, 10s));
}

// Each option, seen from the running program; a case without its option shows the probe can tell.
TEST(ChildProcessTest, TheProgramRunsWithWhatTheOptionsAsk)
{
    const std::string folder = test::MakeTempFolder("cwd");
    ASSERT_EQ(::dup2(STDERR_FILENO, 57), 57); // opened without close-on-exec
    const auto oldPipe = std::signal(SIGPIPE, SIG_IGN);
    sigset_t user1, oldMask;
    sigemptyset(&user1);
    sigaddset(&user1, SIGUSR1);
    ::pthread_sigmask(SIG_BLOCK, &user1, &oldMask);
    const auto cwd = std::filesystem::current_path().string();
    const struct
    {
        const char* name;
        std::function<void(ChildOptions&)> set;
        std::function<bool(pid_t)> holds;
    } cases[] = {
        {"own group", [](ChildOptions& o) { o.newProcessGroup = true; },
         [](pid_t p) { return ::getpgid(p) == p; }},
        {"own session", [](ChildOptions& o) { o.newSession = true; },
         [](pid_t p) { return ::getsid(p) == p; }},
        {"SIGPIPE back to default", [](ChildOptions& o) { o.defaultSignals = {SIGPIPE}; },
         [](pid_t p) { return !SignalIn(p, "SigIgn:", SIGPIPE); }},
        {"SIGPIPE ignored as ours", [](ChildOptions&) {},
         [](pid_t p) { return SignalIn(p, "SigIgn:", SIGPIPE); }},
        {"empty mask", [](ChildOptions& o) { sigemptyset(&o.signalMask.emplace()); },
         [](pid_t p) { return !SignalIn(p, "SigBlk:", SIGUSR1); }},
        {"our mask", [](ChildOptions&) {}, [](pid_t p) { return SignalIn(p, "SigBlk:", SIGUSR1); }},
        {"input from the null device", [](ChildOptions& o) { o.stdinFd = kNullDeviceFd; },
         [](pid_t p) { return Link(p, "fd/0") == "/dev/null"; }},
        {"other descriptors closed", [](ChildOptions& o) { o.closeOtherFds = true; },
         [](pid_t p) { return Link(p, "fd/57").empty(); }},
        {"other descriptors kept", [](ChildOptions&) {}, [](pid_t p) { return !Link(p, "fd/57").empty(); }},
        {"working folder", [&](ChildOptions& o) { o.workingFolder = folder; },
         [&](pid_t p) { return Link(p, "cwd") == folder; }},
        {"a missing working folder keeps ours", [&](ChildOptions& o) { o.workingFolder = folder + "/gone"; },
         [&](pid_t p) { return Link(p, "cwd") == cwd; }},
    };
    for (const auto& [name, set, holds] : cases) {
        ChildOptions options = Options({"/bin/sleep", "30"});
        set(options);
        const Expected<int, SpawnError> spawned = SpawnProcess(options);
        // No ASSERT: the mask and handler below must be put back.
        EXPECT_TRUE(spawned) << name;
        if (!spawned)
            continue;
        EXPECT_TRUE(holds(*spawned)) << name;
        if (::kill(*spawned, SIGKILL) == 0)
            StatusOf(*spawned);
    }
    ::pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    std::signal(SIGPIPE, oldPipe);
    ::close(57);
}

// A shell that ended is reaped, whether its end was read or it was stopped after it ended unread.
TEST(ScriptProcessTest, AnEndedShellIsReapedReadOrStopped)
{
    const std::string script = test::MakeTempFolder("script") + "/run.sh";
    test::WriteTextFile(script, "kill -KILL $$\n");
    ScriptProcess process;
    ASSERT_TRUE(process.Start(script));
    std::string said; // up to its end; the bound only keeps a broken run finite
    for (int polls = 0; process.IsRunning() && polls < 3000; ++polls) {
        pollfd waiting{process.Fd(), POLLIN, 0};
        ::poll(&waiting, 1, 20);
        for (const std::string& piece : process.ReadAvailable().pieces)
            said += piece;
    }
    EXPECT_EQ(said, "kill -KILL $$\n");
    EXPECT_TRUE(NoChildLeft());
    ASSERT_TRUE(process.Start(script));
    ASSERT_TRUE(test::WaitUntil([&] { return !test::IsRunning(process.ProcessGroup()); }, 10s));
    process.Stop();
    EXPECT_FALSE(process.IsRunning());
    EXPECT_TRUE(NoChildLeft());
}

// A run to its end captures all it says, more than a pipe holds, and a run past its time is ended
// with everything it started, also one that closed its outputs.
TEST(CapturedProcessTest, OutputBeyondAPipeAndTheDeadline)
{
    const auto large =
        RunCaptured("/bin/sh", {"-c", "head -c 200000 /dev/zero; echo done >&2; exit 4"}, 60000);
    ASSERT_TRUE(large) << large.error().Text();
    EXPECT_EQ(large->exitCode, 4);
    EXPECT_EQ(large->output, std::string(200000, '\0') + "done\n");
    const std::string pidFile = test::MakeTempFolder("late") + "/pid";
    for (const char* command :
         {"sleep 30 & echo $! >\"$0\"; exec sleep 31", "echo $$ >\"$0\"; exec >&- 2>&-; sleep 30"}) {
        const auto late = RunCaptured("/bin/sh", {"-c", command, pidFile}, 300);
        ASSERT_FALSE(late) << command;
        EXPECT_EQ(late.error().code, kTimedOutCode) << command;
        const pid_t started = std::stoi(test::ReadTextFile(pidFile));
        EXPECT_TRUE(test::WaitUntil([&] { return !test::IsRunning(started); }, 10s)) << command;
    }
    EXPECT_TRUE(NoChildLeft());
}

TEST(FileSystemTest, FolderPathCreation)
{
    const std::string base = test::MakeTempFolder(), file = base + "/file";
    test::WriteTextFile(file, "x");
    // An absolute path is not made below the working folder, a relative one is; a trailing or
    // doubled separator makes no level of its own; a level that is a file stops the path.
    const std::string elsewhere = test::MakeTempFolder("cwd");
    {
        const test::ScopedCurrentFolder inside(elsewhere);
        CreateFolderPath(base + "/A/B/C/");
        CreateFolderPath("rel//deeper");
        CreateFolderPath(file + "/sub");
    }
    EXPECT_TRUE(FolderExists(base + "/A/B/C"));
    EXPECT_TRUE(FolderExists(elsewhere + "/rel/deeper"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(elsewhere), {}), 1);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FolderExists(file + "/sub"));
}

// A copy that cannot be made whole leaves the target as it was, and no temporary file behind.
TEST(FileCopyTest, AShortOrFailedCopyChangesNothingAndAWholeOneRuns)
{
    const std::string folder = test::MakeTempFolder("copy");
    const std::string source = folder + "/source", target = folder + "/target";
    test::WriteTextFile(source, std::string(200000, 's'));
    test::WriteTextFile(target, "old");
    std::filesystem::create_directory(folder + "/folder");
    // The disk fills up part way: no file of this process may grow beyond a few kilobytes.
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const rlimit full{4096, old.rlim_max};
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &full);
    const bool copied = RefreshCopy(source, target).has_value();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_FALSE(copied);
    for (const std::string& to : {folder + "/missing/target", folder + "/folder"})
        EXPECT_FALSE(RefreshCopy(source, to)) << to;
    EXPECT_EQ(test::ReadTextFile(target), "old");
    EXPECT_TRUE(std::filesystem::is_empty(folder + "/folder"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 3)
        << "a temporary file was left";
    // Without a source the target is what there is.
    EXPECT_TRUE(RefreshCopy(folder + "/none", target));
    EXPECT_EQ(test::ReadTextFile(target), "old");

    ASSERT_TRUE(RefreshCopy(source, target));
    EXPECT_EQ(test::ReadTextFile(target), test::ReadTextFile(source));
    EXPECT_TRUE(IsExecutableFile(target));
}

// Only a regular file opens (a FIFO or a folder is refused in the settings' and the probe's tests);
// the open file is read whole, also through its path after the name is gone.
TEST(RegularFileTest, OnlyARegularFileOpensAndIsReadWhole)
{
    const std::string content(300000, 'r'), file = test::MakeTempFolder("regular") + "/file";
    test::WriteTextFile(file, content);
    auto opened = RegularFile::Open(file);
    ASSERT_TRUE(opened);
    std::filesystem::remove(file);
    const std::string path = opened->OpenPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(test::ReadTextFile(path), content);
    EXPECT_EQ(opened->ReadAll(), content);
}

} // namespace
} // namespace zantrove
