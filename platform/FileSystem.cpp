// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zantrove {

namespace {

bool WriteAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder + kPathSeparator + name;
}

Expected<PathKind, int> QueryPath(const std::string& path)
{
    struct stat info
    {
    };
    if (path.empty())
        return Unexpected{ENOENT};
    if (::stat(path.c_str(), &info) != 0)
        return Unexpected{errno};
    return S_ISDIR(info.st_mode) ? PathKind::Folder : PathKind::Other;
}

bool FileExists(const std::string& path)
{
    const auto kind = QueryPath(path);
    return kind && *kind != PathKind::Folder;
}

bool FolderExists(const std::string& path)
{
    const auto kind = QueryPath(path);
    return kind && *kind == PathKind::Folder;
}

std::optional<std::uint64_t> FileSize(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

bool IsWritableFolder(const std::string& path)
{
    return FolderExists(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool IsExecutableFile(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    return ::access(path.c_str(), X_OK) == 0;
}

void CreateFolderPath(const std::string& path)
{
    std::string text = path;
    if (!text.empty() && text.back() == kPathSeparator)
        text.pop_back();

    std::vector<std::string> levels;
    std::string level;
    for (char c : text) {
        if (c == kPathSeparator) {
            levels.push_back(level);
            level.clear();
        } else {
            level += c;
        }
    }
    levels.push_back(level);

    const bool rooted = !text.empty() && text.front() == kPathSeparator;
    std::string prefix;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (levels[i].empty())
            continue; // the root's empty first level, or a doubled separator
        if (!prefix.empty())
            prefix += kPathSeparator + levels[i];
        else
            prefix = rooted ? std::string(1, kPathSeparator) + levels[i] : levels[i];
        if (!FolderExists(prefix))
            ::mkdir(prefix.c_str(), 0777);
    }
}

std::optional<unsigned> FilePermissions(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return static_cast<unsigned>(info.st_mode & 07777);
}

unsigned DefaultFilePermissions()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~static_cast<unsigned>(mask);
}

Expected<void, int> RemoveFile(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        return Unexpected{errno};
    return {};
}

Expected<std::string, int> WriteNewFile(const std::string& pattern, std::string_view content,
                                        unsigned permissions)
{
    std::string path = pattern;
    const std::size_t unique = path.rfind("XXXXXX");
    const int suffix = unique == std::string::npos ? 0 : static_cast<int>(path.size() - unique - 6);
    const int fd = ::mkstemps(path.data(), suffix);
    if (fd < 0)
        return Unexpected{errno};
    bool ok =
        WriteAll(fd, content) && ::fchmod(fd, static_cast<mode_t>(permissions)) == 0 && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok)
        return path;
    ::unlink(path.c_str());
    return Unexpected{error};
}

Expected<void, int> ReplaceFile(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) == 0)
        return {};
    const int error = errno;
    ::unlink(from.c_str());
    return Unexpected{error};
}

} // namespace zantrove
