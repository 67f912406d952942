// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// Both are false for an empty or missing path and whenever the lookup fails.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Creates every missing level; errors are skipped and the walk goes on. A path that starts with the
// separator is absolute and is created where it stands.
void CreateFolderPath(const std::string& path);

} // namespace zantrove
