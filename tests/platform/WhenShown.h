// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace zantrove::test {

// Once a modal dialog of this kind is up, acts on it as the user would, from inside its own loop.
template <typename Dialog> void WhenShown(std::function<void(Dialog*)> act)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start(10);
}

} // namespace zantrove::test
