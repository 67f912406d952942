// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/encoder/OutputClaim.h"

#include "tools/encoder/EncoderOptions.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zantrove {

namespace {
constexpr int kMaxUnfinishedNames = 1000;
} // namespace

std::string ClaimUnfinishedFile(const std::string& output, int& error)
{
    error = 0;
    for (int n = 1; n <= kMaxUnfinishedNames; ++n) {
        const std::string path = UnfinishedPath(n == 1 ? output : output + "." + std::to_string(n));
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST) {
            error = errno;
            return {};
        }
    }
    error = EEXIST;
    return {};
}

int PublishWithoutReplacing(const std::string& unfinished, const std::string& output)
{
    if (::renameat2(AT_FDCWD, unfinished.c_str(), AT_FDCWD, output.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without that rename: a hard link fails just as surely on a taken name.
    if (::link(unfinished.c_str(), output.c_str()) == 0) {
        ::unlink(unfinished.c_str());
        return 0;
    }
    if (errno == EEXIST)
        return EEXIST;
    // No hard links either (FAT): the last check and the rename are two steps there.
    struct stat info
    {
    };
    if (::lstat(output.c_str(), &info) == 0)
        return EEXIST;
    return std::rename(unfinished.c_str(), output.c_str()) == 0 ? 0 : errno;
}

} // namespace zantrove
