// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Error.h"
#include "base/Expected.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace zantrove {

// Longest value a read returns; longer stored values come back cut.
inline constexpr std::size_t kIniValueMaxChars = 254;
// Longest path the system takes (PATH_MAX without its NUL); a path is read whole or not at all.
inline constexpr std::size_t kIniPathMaxChars = 4095;

// A file read once, then asked for any number of keys as ReadIniValue would answer them at the moment
// of reading. Only a regular file is read: anything else (a folder, a FIFO) reads as absent.
class IniFile
{
public:
    // Not explicit: a reader given a file name reads that file for the one call.
    IniFile(const std::string& file);

    // A value of up to maxChars characters; a longer one comes back cut.
    std::string Value(std::string_view section, std::string_view key, std::string_view defaultValue,
                      std::size_t maxChars = kIniValueMaxChars) const;

private:
    // Section and key names in lower case; per name only its first section, per section the first key.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> m_sections;
};

// Reads one key. Section and key names match regardless of letter case; the value is the text after
// the first "=", blanks around it removed. Absent file, section or key give defaultValue's text.
std::string ReadIniValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                         const std::string& file);
std::string ReadIniValue(std::string_view section, std::string_view key, long long defaultValue,
                         const std::string& file);
// Reads a path whole: cut to 254 characters it would name another folder. One longer than any path
// the system takes gives defaultValue.
std::string ReadIniPath(std::string_view section, std::string_view key, std::string_view defaultValue,
                        const std::string& file);

// Replaces the key in place, or appends the key, the section or the whole file. Every other line stays
// as it was. The new content goes to a temporary file in the same folder that is renamed over the old
// one, so a crash or a full disk never leaves half a file. The folder must exist.
// On failure nothing was written (also not for names or values that hold a line break), and the
// error names the file and says why.
[[nodiscard]] Expected<void, Error> WriteIniValue(std::string_view section, std::string_view key,
                                                  std::string_view value, const std::string& file);

} // namespace zantrove
