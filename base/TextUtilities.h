// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zantrove {

std::string_view TrimBlanks(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The first maxChars characters of UTF-8 text, never splitting a character.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxChars);
std::size_t Utf8Length(std::string_view text);

// Text for a terminal: control characters (line breaks, ESC, DEL) as \n, \r, \t or \xNN and the
// direction overrides and isolates (U+202A to U+202E, U+2066 to U+2069) as \uNNNN, so a name can
// neither split a line nor restyle or reorder what is shown; a backslash becomes two.
std::string EscapeForTerminal(std::string_view text);

// The one reading of whole numbers, for INI values and the program's own texts alike: surrounding
// blanks, at most one sign, then decimal digits only. nullopt when the text is not such a number or
// does not fit the type.
std::optional<std::int16_t> ParseInt16(std::string_view text);
std::optional<std::int32_t> ParseInt32(std::string_view text);

// "850 KB", "12.3 MB", "1.45 GB": decimal units, as devices and file managers count them.
std::string FormatByteSize(std::uint64_t bytes);

} // namespace zantrove
