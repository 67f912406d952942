// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zantrove {

struct DeviceInfo
{
    std::string_view identifier; // also the stem of the profile file's name
    std::string_view captionTop;
    std::string_view captionBottom; // empty for one-line captions
};

inline constexpr std::array<DeviceInfo, 5> kDevices{{
    {"iPod-Classic", "iPod", "Classic"},
    {"iPod-Touch", "iPod", "Touch"},
    {"iPod-Nano", "iPod", "Nano"},
    {"iPhone", "iPhone", ""},
    {"iPad", "iPad", ""},
}};

inline constexpr std::string_view kStartDevice = "iPod-Classic";

// The five identifiers joined by ", ", for messages that name them.
std::string DeviceIdentifierList();

// Position in kDevices, compared exactly; -1 for an unknown identifier.
int DeviceIndex(std::string_view identifier);

// applicationFolder + "/Profiles/" + identifier + ".ini"
std::string ProfileFilePath(const std::string& applicationFolder, std::string_view identifier);

} // namespace zantrove
