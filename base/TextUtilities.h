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

// The one reading of whole numbers, for INI values and the program's own texts alike: surrounding
// blanks, at most one sign, then decimal digits only. nullopt when the text is not such a number or
// does not fit the type.
std::optional<std::int16_t> ParseInt16(std::string_view text);
std::optional<std::int32_t> ParseInt32(std::string_view text);

} // namespace zantrove
