// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zantrove {

// The library helper prints one of these lines per file; the progress window and zantrove-cli read
// them back from the run's output to say where the files went.
inline constexpr std::string_view kIpodLinePrefix = "Copied to the iPod ";
inline constexpr std::string_view kNoIpodLinePrefix = "No iPod ";
inline constexpr std::string_view kPlaylistMarker = "added to the playlist ";

// "Copied to the iPod "NAME"".
std::string IpodReportLine(const std::string& ipodName);
// "No iPod connected: added to the playlist PATH", or with why no iPod was taken.
std::string PlaylistReportLine(std::string_view why, const std::string& playlist);

// Where the files of a run went, from its whole output: "2 files are on the iPod "Jo's iPod"." and/or
// "1 file is in the playlist /home/jo/Videos/Zantrove.m3u."; empty when no helper line is there.
std::string LibrarySummary(std::string_view log);

} // namespace zantrove
