// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace zantrove::test {

// A table case's name that reads as what it tests and stays the same from build to build: the text
// with every run of other characters than letters and digits made one '_'.
inline std::string CaseName(std::string_view text)
{
    std::string name;
    for (const char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name.empty() ? "Empty" : name;
}

} // namespace zantrove::test
