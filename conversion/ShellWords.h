// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zantrove {

// Words as a shell reads them, without any expansion: blanks part them, quotes group ("title=A B"
// stays one word), a backslash takes the next character as it is.
std::vector<std::string> SplitShellWords(std::string_view text);

// One word for a POSIX shell: quoted only where it needs it.
std::string ShellQuote(std::string_view text);
// Always in single quotes, so a path reads the same in every script line.
std::string ShellQuotePath(std::string_view path);

} // namespace zantrove
