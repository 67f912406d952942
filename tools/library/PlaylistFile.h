// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Error.h"
#include "base/Expected.h"

#include <optional>
#include <string>
#include <string_view>

namespace zantrove {

inline constexpr const char* kPlaylistName = "Zantrove.m3u";

// The playlist text with entry added as its last line; nothing when the entry is already listed, so
// the file need not be written. An empty text becomes a new playlist starting with "#EXTM3U".
std::optional<std::string> AddPlaylistEntry(std::string_view text, const std::string& entry);

// The playlist line for a path: the path itself, or a file: address with %-escapes when the path
// holds a line break or another control character, so one file is always one line.
std::string PlaylistEntry(const std::string& path);

// The user's videos folder: what `xdg-user-dir VIDEOS` prints when that names a folder other than
// HOME, else $HOME/Videos.
std::string UserVideosFolder();

// Adds the path's entry to folder/Zantrove.m3u, creating folder and playlist when missing. The error
// names the folder or playlist that could not be made, read or written.
[[nodiscard]] Expected<void, Error> AddToPlaylist(const std::string& folder, const std::string& path);

} // namespace zantrove
