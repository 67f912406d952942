// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/library/MountTable.h"

#include <cstdlib>

namespace zantrove {

namespace {
bool IsOctal(char c)
{
    return c >= '0' && c <= '7';
}

std::string Unescape(std::string_view field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) && IsOctal(field[i + 2]) &&
            IsOctal(field[i + 3])) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                      (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}
} // namespace

std::vector<std::string> MountPoints(std::string_view table)
{
    std::vector<std::string> points;
    for (std::size_t start = 0; start < table.size();) {
        std::size_t end = table.find('\n', start);
        if (end == std::string_view::npos)
            end = table.size();
        const std::string_view line = table.substr(start, end - start);
        start = end + 1;
        // The second blank-separated field; blanks inside it are escaped.
        const std::size_t first = line.find(' ');
        if (first == std::string_view::npos)
            continue;
        const std::size_t second = line.find(' ', first + 1);
        const std::string_view field = line.substr(
            first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
        if (!field.empty())
            points.push_back(Unescape(field));
    }
    return points;
}

std::string MountTablePath()
{
    const char* seam = std::getenv("ZANTROVE_TEST_MOUNTS");
    return seam && *seam ? seam : "/proc/self/mounts";
}

} // namespace zantrove
