// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace zantrove {

class Platform;

// Ends every process of the current user whose name ends with imageName, compared without regard
// to case: the staged encoder of any running conversion, also one started by another copy of the
// program. The calling process itself is never ended. Returns how many processes were ended.
int TerminateProcessByName(Platform& platform, std::string_view imageName);

} // namespace zantrove
