// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

// What `zantrove --help` prints; its manual page is made from the same text.
inline constexpr std::string_view kWindowHelp = R"(Usage: zantrove [FILE...]
Opens the Zantrove window, a wizard in four steps that converts video files
for iPod Classic, iPod Touch, iPod Nano, iPhone and iPad. Each FILE is added
to the wizard's video list, as if it had been dropped onto it.

Options:
  /debug      start in debug mode, writing a log of what the window does
              into its settings folder; only as the sole argument
  -h, --help  show this help
  --version   show the version

Example:
  zantrove ~/Videos/holiday.avi ~/Videos/birthday.mp4
)";

// The files to add to the video list at start: every argument, unless the arguments are the debug
// switch. Relative names are left as they are; the caller resolves them against its folder.
std::vector<std::string> StartFiles(const std::vector<std::string>& arguments);

} // namespace zantrove
