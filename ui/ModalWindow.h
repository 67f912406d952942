// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace zantrove {

// Shows window modal over the whole program and deletes it once closed. No nested event loop runs,
// so tests answer the window like any other and the caller goes on at once.
template <class W> W* OpenModal(W* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    return window;
}

} // namespace zantrove
