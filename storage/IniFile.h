// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zantrove {

// Longest value a read returns; longer stored values come back cut.
inline constexpr std::size_t kIniValueMaxChars = 254;

// Reads one key. Section and key names match regardless of letter case; the value is the text after
// the first "=", blanks around it removed. Absent file, section or key give defaultValue's text.
std::string ReadIniValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                         const std::string& file);
std::string ReadIniValue(std::string_view section, std::string_view key, long long defaultValue,
                         const std::string& file);

// Replaces the key in place, or appends the key, the section or the whole file. Every other line stays
// as it was. The new content goes to a temporary file in the same folder that is renamed over the old
// one, so a crash or a full disk never leaves half a file. The folder must exist.
// Returns false when nothing was written (including names or values that hold a line break).
bool WriteIniValue(std::string_view section, std::string_view key, std::string_view value,
                   const std::string& file);

} // namespace zantrove
