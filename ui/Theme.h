// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QApplication;

namespace zantrove {

// The program's look: one palette and one style sheet for every window.
void ApplyTheme(QApplication& application);

} // namespace zantrove
