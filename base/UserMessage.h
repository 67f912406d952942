// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Expected.h"

#include <string>

namespace zantrove {

inline constexpr const char* kApplicationTitle = "Zantrove";
// Sentences of one message are joined by this; the message box shows it as a line break.
inline constexpr const char* kCrLf = "\r\n";

enum class MessageIcon
{
    Information,
    Exclamation,
    Critical,
    Question,
};

// A message for the user, returned by the core and shown by whichever front end runs.
struct UserMessage
{
    MessageIcon icon = MessageIcon::Information;
    std::string text;
    std::string title = kApplicationTitle;
};

// A go-ahead, or the message that says why not.
using Verdict = Expected<void, UserMessage>;

} // namespace zantrove
