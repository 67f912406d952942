// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zantrove {

struct IpodSearch
{
    std::string videoIpod; // mount point of the first iPod that plays video; empty when none
    int otherIpods = 0;    // iPods seen that play no video
};

// Looks for iPod databases (iPod_Control/iTunes/iTunesDB) under the mount points, in their order.
IpodSearch FindVideoIpod(const std::vector<std::string>& mountPoints);

struct MovieEntry
{
    std::string file;
    std::string title;
    std::int32_t milliseconds = 0;
    std::string coverBase64 = {}; // the file's cover picture in base64, empty without one
};

// Copies the file into the iPod's music folders and lists it in its database as a movie. The
// previous database is kept beside it until the new one is complete, and put back when writing
// fails. Returns an error text, empty on success; ipodName is the name the iPod shows.
std::string AddMovieToIpod(const std::string& mountPoint, const MovieEntry& movie, std::string& ipodName);

} // namespace zantrove
