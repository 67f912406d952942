// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace zantrove {

// Asks the desktop's file manager to show its properties sheet for one file or folder, through the
// session bus (org.freedesktop.FileManager1 ShowItemProperties). True when a file manager accepted
// the request; false when there is no session bus or no service answers.
bool ShowFileProperties(const std::string& path, const std::string& startupId = {});

} // namespace zantrove
