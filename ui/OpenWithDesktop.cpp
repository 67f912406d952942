// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OpenWithDesktop.h"

#include "app/DebugLog.h"
#include "base/UserMessage.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"

namespace zantrove {

void OpenWithDesktop(QWidget* parent, const std::string& target)
{
    const auto opened = Platform::Instance().ShellOpen(target);
    if (opened)
        return;
    ApplicationLog().LogEvent(opened.error().Text(), DebugLog::Information);
    MessageBox::Show(parent,
                     {MessageIcon::Exclamation, "Zantrove could not open " + target + std::string(kCrLf) +
                                                    "No program to open it with could be started."});
}

} // namespace zantrove
