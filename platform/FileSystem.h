// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Expected.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zantrove {

// The separator of this platform's paths; folders are kept without a trailing one.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

std::string JoinPath(const std::string& folder, const std::string& name);

enum class PathKind
{
    Folder,
    Other, // a file of any kind
};

// What a path names, links followed, or the errno value of the lookup (an empty path is missing).
Expected<PathKind, int> QueryPath(const std::string& path);

// Both are false for an empty or missing path and whenever the lookup fails.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// The size of a file, links followed; nothing when it cannot be looked at.
std::optional<std::uint64_t> FileSize(const std::string& path);

// A folder this user may create files in.
bool IsWritableFolder(const std::string& path);

// A regular file this user may run.
bool IsExecutableFile(const std::string& path);

// Creates every missing level; errors are skipped and the walk goes on. A path that starts with the
// separator is absolute and is created where it stands.
void CreateFolderPath(const std::string& path);

// The permission bits of an existing file, links followed; nothing when it cannot be looked at.
std::optional<unsigned> FilePermissions(const std::string& path);
// The permission bits a new file of this user gets.
unsigned DefaultFilePermissions();

// Writes content to a new file named by pattern with its last "XXXXXX" made unique (what follows
// it, such as an extension, stays), gives it the permission bits and flushes it to the disk. The
// name is taken exclusively, so two programs never get one file. Its path, or the errno value; on
// failure no file is left behind.
Expected<std::string, int> WriteNewFile(const std::string& pattern, std::string_view content,
                                        unsigned permissions);

// Removes a file (not a folder); the errno value when it could not, also when it was not there.
Expected<void, int> RemoveFile(const std::string& path);

// Puts from in the place of to in one step; when that fails, from is removed.
Expected<void, int> ReplaceFile(const std::string& from, const std::string& to);

} // namespace zantrove
