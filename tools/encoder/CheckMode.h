// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace zantrove {

// The check mode: asks the ffmpeg a conversion would run for its encoders and muxers and prints one
// line per missing item. The arguments are those after "--check"; returns the exit status.
int RunCheckMode(const std::vector<std::string>& arguments, const char* argv0);

} // namespace zantrove
