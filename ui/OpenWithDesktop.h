// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class QWidget;

namespace zantrove {

// Hands a file, folder or address to the desktop's default program; when nothing could be started
// the user is told so over parent, instead of the click simply doing nothing.
void OpenWithDesktop(QWidget* parent, const std::string& target);

} // namespace zantrove
