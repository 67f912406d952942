// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace zantrove {

class Platform;

// Ends every process of the process group processGroup whose name ends with imageName, compared
// without regard to case: the staged encoder of one run, never that of another run beside it. No
// group (0 or less) ends nothing, and the calling process itself is never ended. Returns how many
// processes were ended.
int TerminateProcessByName(Platform& platform, std::string_view imageName, int processGroup);

} // namespace zantrove
