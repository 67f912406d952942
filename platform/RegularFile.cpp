// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace zantrove {

Expected<RegularFile, int> RegularFile::Open(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Unexpected{errno};
    RegularFile file(fd);
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0)
        return Unexpected{errno};
    if (!S_ISREG(info.st_mode))
        return Unexpected{EINVAL};
    return file;
}

RegularFile::RegularFile(RegularFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

RegularFile::~RegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::string RegularFile::ReadAll()
{
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return content;
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

FileIdentity RegularFile::Identity() const
{
    struct stat info
    {
    };
    if (::fstat(m_fd, &info) != 0)
        return {};
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

std::string RegularFile::OpenPath() const
{
    const std::string link = "/proc/self/fd/" + std::to_string(m_fd);
    return ::access(link.c_str(), R_OK) == 0 ? link : std::string();
}

} // namespace zantrove
