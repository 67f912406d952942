// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace zantrove {

struct VideoRow;

// True only for an existing path that is not a folder.
using FileExistsTest = std::function<bool(const std::string& path)>;

// The row's name as the list shows it, unless it holds a path separator: then the name of its path,
// without the extension.
std::string OutputBaseName(const VideoRow& row);

// folder/name.extension; "name (2).ext", "(3)", ... while that path is taken.
std::string ChooseOutputPath(const std::string& folder, const std::string& baseName,
                             const std::string& extension, const FileExistsTest& exists);

} // namespace zantrove
