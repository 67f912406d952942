// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace zantrove {

// The view of a help page in the translation window. Two builds: an embedded browser
// (WebEnginePageView.cpp) or a link for the default browser (LinkPageView.cpp); ui/CMakeLists.txt
// compiles the one the build has.
namespace PageView {
// Whether pages are shown inside the program.
bool Embedded();
QWidget* Create();
void Navigate(QWidget* view, const QString& address);
// The address last navigated to.
QString Address(const QWidget* view);
} // namespace PageView

} // namespace zantrove
