// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Expected.h"

#include <cstdint>
#include <string>

namespace zantrove {

// What tells one version of a file from another without reading it: where it lives, its size and
// when it was last written.
struct FileIdentity
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0; // since the epoch of the system clock

    bool operator==(const FileIdentity&) const = default;
};

// A regular file held open. It is opened without waiting, so a FIFO in its place cannot block, and
// anything but a regular file is refused.
class RegularFile
{
public:
    // The open file, or the errno value (EINVAL for something that is no regular file).
    static Expected<RegularFile, int> Open(const std::string& path);

    RegularFile(RegularFile&& other) noexcept;
    RegularFile& operator=(RegularFile&& other) noexcept;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile();

    // Everything from the current position on; a read error ends it early, as the end of the file would.
    std::string ReadAll();
    // The open file's identity as it is now.
    FileIdentity Identity() const;
    // A path that names this very open file for code that only takes paths; empty when the system
    // gives none or it cannot be read through it.
    std::string OpenPath() const;

private:
    explicit RegularFile(int fd) : m_fd(fd) {}

    int m_fd = -1;
};

} // namespace zantrove
