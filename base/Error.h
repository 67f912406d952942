// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zantrove {

// Why something at the program's edge failed: a file written or copied, a process started, the
// desktop asked. what names the file or program and what went wrong with it, why gives the reason,
// so a caller can show it, put it into a sentence of its own, or log it.
struct Error
{
    std::string what; // "/home/u/Settings.ini could not be written"
    std::string why;  // "Permission denied"; empty when there is nothing more to say
    int code = 0;     // the errno value behind it; 0 when there is none

    // "what (why)", or what alone.
    std::string Text() const { return why.empty() ? what : what + " (" + why + ")"; }
};

// An error whose reason is the system's text for an errno value.
Error SystemError(std::string what, int code);

} // namespace zantrove
