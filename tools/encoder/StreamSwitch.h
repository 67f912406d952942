// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace zantrove {

// "-vn" and "-an" switch the picture or the sound off, in a conversion and in a check alike. True
// when option was one of them.
inline bool TakeStreamSwitch(std::string_view option, bool& videoOff, bool& audioOff)
{
    if (option == "-vn")
        videoOff = true;
    else if (option == "-an")
        audioOff = true;
    else
        return false;
    return true;
}

} // namespace zantrove
