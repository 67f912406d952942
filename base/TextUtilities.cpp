// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/TextUtilities.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace zantrove {

std::string_view TrimBlanks(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

static char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

static bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string_view Utf8Prefix(std::string_view text, std::size_t maxChars)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsContinuationByte(text[i]))
            continue;
        if (chars == maxChars)
            return text.substr(0, i);
        ++chars;
    }
    return text;
}

std::size_t Utf8Length(std::string_view text)
{
    std::size_t chars = 0;
    for (char c : text)
        chars += IsContinuationByte(c) ? 0 : 1;
    return chars;
}

template <typename T> static std::optional<T> ParseWhole(std::string_view text)
{
    text = TrimBlanks(text);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (negative || text.front() == '+'))
        text.remove_prefix(1);
    // Digits only after the one sign: "+-1" or "--1" is no number.
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (negative)
        value = -value;
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        return std::nullopt;
    return static_cast<T>(value);
}

std::string EscapeForTerminal(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // U+202A..U+202E are E2 80 AA..AE, U+2066..U+2069 are E2 81 A6..A9.
        if (c == 0xE2 && i + 2 < text.size()) {
            const auto b = static_cast<unsigned char>(text[i + 1]),
                       d = static_cast<unsigned char>(text[i + 2]);
            if ((b == 0x80 && d >= 0xAA && d <= 0xAE) || (b == 0x81 && d >= 0xA6 && d <= 0xA9)) {
                const unsigned code = (b == 0x80 ? 0x2000u : 0x2040u) + (d & 0x3Fu);
                shown += "\\u";
                for (int shift = 12; shift >= 0; shift -= 4)
                    shown += kHex[(code >> shift) & 0xFu];
                i += 2;
                continue;
            }
        }
        if (c == '\\')
            shown += "\\\\";
        else if (c == '\n')
            shown += "\\n";
        else if (c == '\r')
            shown += "\\r";
        else if (c == '\t')
            shown += "\\t";
        else if (c < 0x20 || c == 0x7F)
            shown += std::string("\\x") + kHex[c >> 4] + kHex[c & 0xFu];
        else
            shown += static_cast<char>(c);
    }
    return shown;
}

std::optional<std::int16_t> ParseInt16(std::string_view text)
{
    return ParseWhole<std::int16_t>(text);
}

std::optional<std::int32_t> ParseInt32(std::string_view text)
{
    return ParseWhole<std::int32_t>(text);
}

std::string FormatByteSize(std::uint64_t bytes)
{
    char text[32];
    const double value = static_cast<double>(bytes);
    if (value < 1e6)
        std::snprintf(text, sizeof text, "%.0f KB", value / 1e3);
    else if (value < 1e9)
        std::snprintf(text, sizeof text, value < 1e8 ? "%.1f MB" : "%.0f MB", value / 1e6);
    else
        std::snprintf(text, sizeof text, "%.2f GB", value / 1e9);
    return text;
}

} // namespace zantrove
