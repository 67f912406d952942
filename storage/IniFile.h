// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Error.h"
#include "base/Expected.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zantrove {

// Longest value a read returns; longer stored values come back cut.
inline constexpr std::size_t kIniValueMaxChars = 254;
// Longest path the system takes (PATH_MAX without its NUL); a path is read whole or not at all.
inline constexpr std::size_t kIniPathMaxChars = 4095;

// Settings and profile files are a few kilobytes; one far larger is no such file and is not read.
inline constexpr std::uint64_t kIniFileMaxBytes = 1024 * 1024;

// A file read once, then asked for any number of keys as ReadIniValue would answer them at the moment
// of reading. Only a regular file is read: anything else (a folder, a FIFO) reads as absent, and so
// does a file larger than kIniFileMaxBytes. A file that has not changed since it was last read in
// this process is not read again.
class IniFile
{
public:
    // Not explicit: a reader given a file name reads that file for the one call.
    IniFile(const std::string& file);

    // A value of up to maxChars characters; a longer one comes back cut.
    std::string Value(std::string_view section, std::string_view key, std::string_view defaultValue,
                      std::size_t maxChars = kIniValueMaxChars) const;

    // The errno value of a failed open (EINVAL for no regular file), 0 when it opened.
    int OpenError() const;
    // The size of a file too large to be read, nullopt for any other.
    std::optional<std::uint64_t> OversizeBytes() const;
    // No INI text holds a NUL byte; a binary or UTF-16 file does.
    bool HoldsNul() const;

    struct Content;

private:
    std::shared_ptr<const Content> m_content;
};

// Reads one key. Section and key names match regardless of letter case; the value is the text after
// the first "=", blanks around it removed. Absent file, section or key give defaultValue's text.
std::string ReadIniValue(std::string_view section, std::string_view key, std::string_view defaultValue,
                         const IniFile& file);
std::string ReadIniValue(std::string_view section, std::string_view key, long long defaultValue,
                         const IniFile& file);
// Reads a path whole: cut to 254 characters it would name another folder. One longer than any path
// the system takes gives defaultValue.
std::string ReadIniPath(std::string_view section, std::string_view key, std::string_view defaultValue,
                        const IniFile& file);

// Replaces the key in place, or appends the key, the section or the whole file. Every other line stays
// as it was. The new content goes to a temporary file in the same folder that is renamed over the old
// one, so a crash or a full disk never leaves half a file. The folder must exist.
// On failure nothing was written (also not for names or values that hold a line break, nor into a
// file too large to be read), and the error names the file and says why.
[[nodiscard]] Expected<void, Error> WriteIniValue(std::string_view section, std::string_view key,
                                                  std::string_view value, const std::string& file);

} // namespace zantrove
