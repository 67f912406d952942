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

// 0, or the errno value of the read or write that failed.
int CopyAll(int in, int out)
{
    char buffer[64 * 1024];
    while (true) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return put < 0 ? errno : EIO;
            done += put;
        }
    }
}

// Copy through a temporary name of this copy's own, keeping the source's mode and time, so a
// half-copied component (a full disk) is never run, two programs staging at once never write into
// one file, and the next comparison finds the copy identical.
Expected<void, Error> CopyComponent(const std::string& source, const struct stat& sourceInfo,
                                    const std::string& target)
{
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return Unexpected{SystemError(source + " could not be read", errno)};
    std::string temporary = target + ".staging-XXXXXX";
    const int out = ::mkostemp(temporary.data(), O_CLOEXEC);
    int code = out < 0 ? errno : CopyAll(in, out);
    ::close(in);
    if (out < 0)
        return Unexpected{SystemError(target + " could not be written", code)};
    struct stat written
    {
    };
    if (code == 0 && (::fsync(out) != 0 || ::fstat(out, &written) != 0))
        code = errno;
    // A write the file system took back later shows as a short file.
    if (code == 0 && written.st_size != sourceInfo.st_size)
        code = EIO;
    if (::close(out) != 0 && code == 0)
        code = errno;
    const timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    if (code == 0 &&
        (::chmod(temporary.c_str(), (sourceInfo.st_mode & 07777) | S_IRUSR | S_IWUSR | S_IXUSR) != 0 ||
         ::utimensat(AT_FDCWD, temporary.c_str(), times, 0) != 0 ||
         std::rename(temporary.c_str(), target.c_str()) != 0))
        code = errno;
    if (code == 0)
        return {};
    std::remove(temporary.c_str());
    return Unexpected{SystemError(target + " could not be written", code)};
}
} // namespace

Expected<void, Error> RefreshCopy(const std::string& source, const std::string& target)
{
    struct stat sourceInfo
    {
    };
    struct stat targetInfo
    {
    };
    const bool found = ::stat(source.c_str(), &sourceInfo) == 0;
    const int missing = found ? EINVAL : errno; // a folder or device is not copied either
    const bool haveSource = found && S_ISREG(sourceInfo.st_mode);
    const bool haveTarget = ::stat(target.c_str(), &targetInfo) == 0 && S_ISREG(targetInfo.st_mode);
    if (haveSource && !(haveTarget && SameFile(sourceInfo, targetInfo)))
        return CopyComponent(source, sourceInfo, target);
    if (haveTarget)
        return {};
    return Unexpected{SystemError(source + " could not be read", missing)};
}

} // namespace zantrove
