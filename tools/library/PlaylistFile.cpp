// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/library/PlaylistFile.h"

#include "platform/FileSystem.h"
#include "storage/AtomicFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zantrove {

namespace {

std::string WithoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string AskXdgUserDir()
{
    // A missing command only makes the shell complain into /dev/null and print nothing.
    FILE* pipe = ::popen("xdg-user-dir VIDEOS 2>/dev/null", "r");
    if (!pipe)
        return {};
    std::string output;
    char buffer[512];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, got);
    ::pclose(pipe);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    return output;
}

} // namespace

std::optional<std::string> AddPlaylistEntry(std::string_view text, const std::string& entry)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line == entry)
            return std::nullopt;
        start = end + 1;
    }
    std::string result = text.empty() ? std::string("#EXTM3U\n") : std::string(text);
    if (result.back() != '\n')
        result += '\n';
    return result + entry + "\n";
}

std::string PlaylistEntry(const std::string& path)
{
    const auto isControl = [](unsigned char c) { return c < 0x20 || c == 0x7f; };
    if (std::none_of(path.begin(), path.end(), isControl))
        return path;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string address = "file://";
    for (const unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("/-._~", c) != nullptr) {
            address += static_cast<char>(c);
        } else {
            address += '%';
            address += kHex[c >> 4];
            address += kHex[c & 15];
        }
    }
    return address;
}

std::string UserVideosFolder()
{
    const char* homeValue = std::getenv("HOME");
    const std::string home = WithoutTrailingSlashes(homeValue ? homeValue : "");
    const std::string answer = WithoutTrailingSlashes(AskXdgUserDir());
    // xdg-user-dir falls back to HOME itself when no videos folder is configured.
    if (!answer.empty() && answer.front() == '/' && answer != home)
        return answer;
    return JoinPath(home, "Videos");
}

Expected<void, Error> AddToPlaylist(const std::string& folder, const std::string& path)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!FolderExists(folder))
        return Unexpected{Error{"cannot create the folder " + folder, {}, error.value()}};
    const std::string playlist = JoinPath(folder, kPlaylistName);
    std::string text;
    if (FileExists(playlist)) {
        std::ifstream in(playlist, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        if (!in)
            return Unexpected{Error{"cannot read " + playlist, {}, EIO}};
        text = content.str();
    }
    const std::optional<std::string> updated = AddPlaylistEntry(text, PlaylistEntry(path));
    if (!updated)
        return {};
    // The helper's line stays as users know it; the code keeps the reason.
    if (const auto written = WriteFileAtomically(playlist, *updated); !written)
        return Unexpected{Error{"cannot write " + playlist, {}, written.error().code}};
    return {};
}

} // namespace zantrove
