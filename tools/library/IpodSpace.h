// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace zantrove {

// Bytes a folder's file system still takes from this user; nullopt when it cannot tell.
using FreeSpaceQuery = std::function<std::optional<std::uint64_t>(const std::string& folder)>;
std::optional<std::uint64_t> FreeSpaceOf(const std::string& folder);

struct IpodSpace
{
    std::string mountPoint;
    std::uint64_t freeBytes = 0;
};

// The iPod that plays video the media library helper would copy to, found the same way in the same
// mount table, with its free space; nullopt without one or when its space cannot be read.
std::optional<IpodSpace> ConnectedIpodSpace(const FreeSpaceQuery& query = FreeSpaceOf);

// What the review says: the free space, and whether a batch of batchBytes fits into it.
struct IpodFit
{
    bool fits = true;
    std::string text;
};
IpodFit DescribeIpodFit(const IpodSpace& space, std::uint64_t batchBytes);

} // namespace zantrove
