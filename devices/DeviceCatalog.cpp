// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/DeviceCatalog.h"

#include "platform/FileSystem.h"

namespace zantrove {

int DeviceIndex(std::string_view identifier)
{
    for (std::size_t i = 0; i < kDevices.size(); ++i) {
        if (kDevices[i].identifier == identifier)
            return static_cast<int>(i);
    }
    return -1;
}

std::string ProfileFilePath(const std::string& applicationFolder, std::string_view identifier)
{
    return JoinPath(JoinPath(applicationFolder, "Profiles"), std::string(identifier) + ".ini");
}

std::string DeviceIdentifierList()
{
    std::string text;
    for (const DeviceInfo& device : kDevices)
        text += (text.empty() ? "" : ", ") + std::string(device.identifier);
    return text;
}

} // namespace zantrove
