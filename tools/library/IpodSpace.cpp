// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/library/IpodSpace.h"

#include "conversion/OutputSizeEstimate.h"
#include "tools/library/IpodDatabase.h"
#include "tools/library/MountTable.h"

#include <fstream>
#include <sstream>
#include <sys/statvfs.h>

namespace zantrove {

std::optional<std::uint64_t> FreeSpaceOf(const std::string& folder)
{
    struct statvfs info
    {
    };
    if (::statvfs(folder.c_str(), &info) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}

std::optional<IpodSpace> ConnectedIpodSpace(const FreeSpaceQuery& query)
{
    std::ifstream in(MountTablePath(), std::ios::binary);
    std::ostringstream table;
    table << in.rdbuf();
    const IpodSearch search = FindVideoIpod(MountPoints(table.str()));
    if (search.videoIpod.empty())
        return std::nullopt;
    const auto free = query(search.videoIpod);
    if (!free)
        return std::nullopt;
    return IpodSpace{search.videoIpod, *free};
}

IpodFit DescribeIpodFit(const IpodSpace& space, std::uint64_t batchBytes)
{
    const std::size_t slash = space.mountPoint.find_last_of('/', space.mountPoint.size() - 2);
    const std::string name =
        slash == std::string::npos ? space.mountPoint : space.mountPoint.substr(slash + 1);
    const std::string free = FormatByteSize(space.freeBytes) + " free on the iPod " + name;
    if (batchBytes <= space.freeBytes)
        return {true, free};
    return {false, free + ": the converted files (about " + FormatByteSize(batchBytes) + ") will not fit"};
}

} // namespace zantrove
