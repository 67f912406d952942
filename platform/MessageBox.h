// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/UserMessage.h"

#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace zantrove {

// Every message box of the program goes through here, so tests answer them without a display.
class MessageBox
{
public:
    enum Answer
    {
        Ok,
        Yes,
        No,
    };

    // OK box with the message's icon and title; CR LF and lone CR become line breaks.
    static Answer Show(QWidget* parent, const UserMessage& message);
    // Yes/No question.
    static Answer Ask(QWidget* parent, const UserMessage& message);

    // Test seam: while on, nothing is shown; every message is recorded and answered with the next
    // queued answer (Ok for Show, Yes for Ask when none is queued).
    static void SetTestMode(bool on);
    static void SetNextAnswer(Answer answer);
    static const std::vector<UserMessage>& Shown();
    static void ClearShown();

    static std::string DisplayText(const std::string& text);
};

} // namespace zantrove
