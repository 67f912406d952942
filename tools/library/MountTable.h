// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

// The mount points of a mount table in the /proc/self/mounts format, in its order, with the
// table's octal escapes (\040 for a blank) turned back into their characters.
std::vector<std::string> MountPoints(std::string_view table);

// The system's mount table, or the file named by ZANTROVE_TEST_MOUNTS: the tests' way to show the
// helper an iPod folder without mounting one.
std::string MountTablePath();

} // namespace zantrove
