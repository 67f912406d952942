// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/FileUtilities.h"

#include "base/TextUtilities.h"

#include <sys/stat.h>
#include <vector>

namespace zantrove {

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder + kPathSeparator + name;
}

static bool StatPath(const std::string& path, struct stat& info)
{
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

bool FileExists(const std::string& path)
{
    struct stat info
    {
    };
    return StatPath(path, info) && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path)
{
    struct stat info
    {
    };
    return StatPath(path, info) && S_ISDIR(info.st_mode);
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

} // namespace zantrove
