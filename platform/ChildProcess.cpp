// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zantrove {

namespace {

constexpr int kCannotRun = 127;

// Everything the child reads, laid out before the fork: the child must not allocate.
struct PreparedChild
{
    explicit PreparedChild(const ChildOptions& childOptions) : options(childOptions) {}
    ~PreparedChild()
    {
        if (nullDevice >= 0)
            ::close(nullDevice);
    }
    PreparedChild(const PreparedChild&) = delete;
    PreparedChild& operator=(const PreparedChild&) = delete;

    const ChildOptions& options;
    std::vector<std::string> candidates; // the paths tried in turn
    std::vector<char*> argv;
    std::vector<char*> scriptArgv; // for a found file without "#!" line, run by the shell as execvp does
    bool searched = false;
    bool newSession = false;
    int sources[3] = {kInheritFd, kInheritFd, kInheritFd};
    int nullDevice = -1;
    int fdLimit = 65536;
    pid_t owner = 0;
};

// The places execvp would try, in its order; an empty PATH entry means the working folder.
std::vector<std::string> SearchPath(const std::string& name)
{
    std::string path;
    if (const char* value = std::getenv("PATH"))
        path = value;
    else if (const std::size_t size = ::confstr(_CS_PATH, nullptr, 0); size > 0) {
        path.resize(size);
        ::confstr(_CS_PATH, path.data(), size);
        path.resize(size - 1);
    }
    std::vector<std::string> candidates;
    for (std::size_t start = 0;;) {
        const std::size_t colon = std::min(path.find(':', start), path.size());
        const std::string folder = path.substr(start, colon - start);
        candidates.push_back(folder.empty() ? name : folder + "/" + name);
        if (colon == path.size())
            return candidates;
        start = colon + 1;
    }
}

// Lays out what the child reads and opens the pipe that carries its exec error back, which closes by
// itself when exec succeeds.
Expected<void, SpawnError> Prepare(PreparedChild& child, int (&report)[2])
{
    const ChildOptions& options = child.options;
    if (options.argv.empty())
        return Unexpected{SpawnError{EINVAL}};
    const std::string& program = options.program.empty() ? options.argv.front() : options.program;
    child.searched = options.searchPath && program.find('/') == std::string::npos;
    if (child.searched)
        child.candidates = SearchPath(program);
    else
        child.candidates = {program};
    for (const std::string& argument : options.argv)
        child.argv.push_back(const_cast<char*>(argument.c_str()));
    child.argv.push_back(nullptr);
    child.scriptArgv = child.argv;
    child.scriptArgv.insert(child.scriptArgv.begin(), const_cast<char*>("/bin/sh"));
    child.newSession = options.newSession;

    const int wanted[3] = {options.stdinFd, options.stdoutFd, options.stderrFd};
    for (int target = 0; target < 3; ++target) {
        if (wanted[target] == kNullDeviceFd && child.nullDevice < 0) {
            child.nullDevice = ::open("/dev/null", O_RDWR | O_CLOEXEC);
            if (child.nullDevice < 0)
                return Unexpected{SpawnError{errno}};
        }
        child.sources[target] = wanted[target] == kNullDeviceFd ? child.nullDevice : wanted[target];
    }
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur != RLIM_INFINITY)
        child.fdLimit = static_cast<int>(std::min<rlim_t>(files.rlim_cur, 65536));
    child.owner = ::getpid();
    if (::pipe2(report, O_CLOEXEC) != 0)
        return Unexpected{SpawnError{errno}};
    return {};
}

[[noreturn]] void ReportAndExit(int report, int error)
{
    // Nobody is left to tell when even this write fails.
    [[maybe_unused]] const ssize_t written = ::write(report, &error, sizeof error);
    ::_exit(kCannotRun);
}

// Descriptors the caller opened without close-on-exec must not leak into the program.
void MarkCloseOnExecFrom(int first, int limit)
{
#ifdef CLOSE_RANGE_CLOEXEC
    if (::close_range(static_cast<unsigned>(first), ~0U, CLOSE_RANGE_CLOEXEC) == 0)
        return;
#endif
    for (int fd = first; fd < limit; ++fd)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

bool SearchGoesOn(int error)
{
    return error == ENOENT || error == ESTALE || error == ENOTDIR || error == ENODEV || error == ETIMEDOUT;
}

// Runs in the forked child: async-signal-safe calls only.
[[noreturn]] void RunChild(PreparedChild& child, int report)
{
    const ChildOptions& options = child.options;
    if (options.dieWithParent) {
        // An owner that died before this line is no longer our parent, and would never send it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != child.owner)
            ::_exit(kCannotRun);
    }
    if (child.newSession)
        ::setsid();
    if (options.newProcessGroup)
        ::setpgid(0, 0);
    struct sigaction standard
    {
    };
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    for (const int signal : options.defaultSignals)
        ::sigaction(signal, &standard, nullptr);
    if (options.signalMask)
        ::sigprocmask(SIG_SETMASK, &*options.signalMask, nullptr);

    // A source that is itself 0, 1 or 2 could be overwritten by an earlier dup2, so it moves up first.
    for (int& source : child.sources) {
        if (source >= 0 && source <= 2 && (source = ::fcntl(source, F_DUPFD_CLOEXEC, 3)) < 0)
            ReportAndExit(report, errno);
    }
    for (int target = 0; target < 3; ++target) {
        if (child.sources[target] >= 0 && ::dup2(child.sources[target], target) < 0)
            ReportAndExit(report, errno);
    }
    if (options.closeOtherFds)
        MarkCloseOnExecFrom(3, child.fdLimit);
    if (!options.workingFolder.empty() && ::chdir(options.workingFolder.c_str()) != 0) {
        // Starting matters more than where the program starts.
    }

    int error = ENOENT;
    bool denied = false;
    for (const std::string& candidate : child.candidates) {
        ::execve(candidate.c_str(), child.argv.data(), environ);
        if (child.searched && errno == ENOEXEC) {
            child.scriptArgv[1] = const_cast<char*>(candidate.c_str());
            ::execve(child.scriptArgv[0], child.scriptArgv.data(), environ);
        }
        error = errno;
        denied = denied || error == EACCES;
        if (!SearchGoesOn(error) && error != EACCES)
            break;
    }
    ReportAndExit(report, denied && SearchGoesOn(error) ? EACCES : error);
}

// The child's exec error, or 0 once the pipe closed because the program runs.
int ReadReport(int fd)
{
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(fd, &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(fd);
    if (got != static_cast<ssize_t>(sizeof error))
        return 0;
    return error != 0 ? error : ENOEXEC;
}

// The parent's side right after the fork: only the child writes to the report pipe.
Expected<void, SpawnError> Forked(pid_t pid, int (&report)[2])
{
    const int forkError = errno;
    ::close(report[1]);
    if (pid >= 0)
        return {};
    ::close(report[0]);
    return Unexpected{SpawnError{forkError}};
}

int WaitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace

Expected<int, SpawnError> SpawnProcess(const ChildOptions& options)
{
    PreparedChild child(options);
    int report[2];
    if (auto prepared = Prepare(child, report); !prepared)
        return Unexpected{prepared.error()};
    const pid_t pid = ::fork();
    if (pid == 0)
        RunChild(child, report[1]);
    if (auto forked = Forked(pid, report); !forked)
        return Unexpected{forked.error()};
    // Also set here, so the group exists before anyone could signal it; when the child has already
    // started the program this fails, and the child has set it itself.
    if (options.newProcessGroup)
        (void)::setpgid(pid, pid);
    if (const int error = ReadReport(report[0]); error != 0) {
        WaitFor(pid);
        return Unexpected{SpawnError{error, true}};
    }
    return static_cast<int>(pid);
}

Expected<void, SpawnError> SpawnDetachedProcess(const ChildOptions& options)
{
    PreparedChild child(options);
    int report[2];
    if (auto prepared = Prepare(child, report); !prepared)
        return Unexpected{prepared.error()};
    const pid_t middle = ::fork();
    if (middle == 0) {
        // The session is the middle one's, so the program never leads one and takes no terminal.
        if (child.newSession)
            ::setsid();
        child.newSession = false;
        const pid_t program = ::fork();
        if (program == 0)
            RunChild(child, report[1]);
        if (program < 0)
            ReportAndExit(report[1], errno);
        ::_exit(0);
    }
    if (auto forked = Forked(middle, report); !forked)
        return Unexpected{forked.error()};
    const int status = WaitFor(middle);
    if (const int error = ReadReport(report[0]); error != 0)
        return Unexpected{SpawnError{error, true}};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return Unexpected{SpawnError{ECHILD, true}};
    return {};
}

} // namespace zantrove
