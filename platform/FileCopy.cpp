// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileCopy.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace zantrove {

namespace {
bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec &&
           a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

bool CopyAll(int in, int out)
{
    char buffer[64 * 1024];
    while (true) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return false;
            done += put;
        }
    }
}

// Copy through a temporary name of this copy's own, keeping the source's mode and time, so a
// half-copied component (a full disk) is never run, two programs staging at once never write into
// one file, and the next comparison finds the copy identical.
bool CopyComponent(const std::string& source, const struct stat& sourceInfo, const std::string& target)
{
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    std::string temporary = target + ".staging-XXXXXX";
    const int out = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool copied = CopyAll(in, out);
    ::close(in);
    struct stat written
    {
    };
    // A write the file system took back later shows as a short file.
    copied =
        copied && ::fsync(out) == 0 && ::fstat(out, &written) == 0 && written.st_size == sourceInfo.st_size;
    copied = ::close(out) == 0 && copied;
    const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    if (!copied ||
        ::chmod(temporary.c_str(), (sourceInfo.st_mode & 07777) | S_IRUSR | S_IWUSR | S_IXUSR) != 0 ||
        ::utimensat(AT_FDCWD, temporary.c_str(), times, 0) != 0 ||
        std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
} // namespace

bool RefreshCopy(const std::string& source, const std::string& target)
{
    struct stat sourceInfo
    {
    };
    struct stat targetInfo
    {
    };
    const bool haveSource = ::stat(source.c_str(), &sourceInfo) == 0 && S_ISREG(sourceInfo.st_mode);
    const bool haveTarget = ::stat(target.c_str(), &targetInfo) == 0 && S_ISREG(targetInfo.st_mode);
    if (haveSource && !(haveTarget && SameFile(sourceInfo, targetInfo)))
        return CopyComponent(source, sourceInfo, target);
    return haveTarget;
}

} // namespace zantrove
