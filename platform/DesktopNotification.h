// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zantrove {

// Shows a notification through the desktop's notification service on the session bus. False when
// there is no session bus (DBUS_SESSION_BUS_ADDRESS unset) or no service, which is no error: the
// desktop simply has none.
bool SendDesktopNotification(const std::string& title, const std::string& body);

} // namespace zantrove
