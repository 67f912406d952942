// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/FileUtilities.h"

#include "storage/TextUtilities.h"

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

std::string FormatSeconds(std::int32_t seconds)
{
    if (seconds < 0)
        seconds = 0;
    const auto twoDigits = [](std::int32_t part) { return (part < 10 ? "0" : "") + std::to_string(part); };
    return twoDigits(seconds / 3600) + ":" + twoDigits((seconds / 60) % 60) + ":" + twoDigits(seconds % 60);
}

std::optional<std::int64_t> ParseClockTime(std::string_view text)
{
    std::int64_t seconds = 0;
    for (int part = 0; part < 3; ++part) {
        const std::size_t colon = part < 2 ? text.find(':') : text.size();
        if (colon == std::string_view::npos)
            return std::nullopt;
        const auto value = ParseInt32(text.substr(0, colon));
        if (!value || *value < 0)
            return std::nullopt;
        seconds = seconds * 60 + *value;
        text.remove_prefix(part < 2 ? colon + 1 : colon);
    }
    return seconds;
}

} // namespace zantrove
