// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtConsoleLauncher.h"

#include <QSocketNotifier>

namespace zantrove {

QtConsoleLauncher::~QtConsoleLauncher()
{
    ++m_generation;
    m_process.Stop();
    if (m_delivering) {
        DropNotifier();
    } else {
        delete m_notifier;
        m_notifier = nullptr;
    }
}

Expected<void, Error> QtConsoleLauncher::Start()
{
    if (m_process.IsRunning())
        return AlreadyRunning();
    ++m_generation;
    if (const Expected<void, int> started = m_process.Start(Script()); !started)
        return NotStarted(started.error());
    DropNotifier();
    m_notifier = new QSocketNotifier(static_cast<qintptr>(m_process.Fd()), QSocketNotifier::Read);
    QObject::connect(m_notifier, &QSocketNotifier::activated, m_notifier, [this] { OnReadable(); });
    return {};
}

void QtConsoleLauncher::Stop()
{
    ++m_generation;
    m_process.Stop();
    DropNotifier();
}

void QtConsoleLauncher::DropNotifier()
{
    if (!m_notifier)
        return;
    m_notifier->setEnabled(false);
    // It may be the sender of the notification being handled right now.
    m_notifier->deleteLater();
    m_notifier = nullptr;
}

void QtConsoleLauncher::OnReadable()
{
    // A handler that runs a nested event loop (a message box) must not get the next piece before
    // it returns: notifications are delivered one at a time.
    if (m_notifier)
        m_notifier->setEnabled(false);
    if (m_delivering)
        return;
    m_delivering = true;
    const unsigned generation = m_generation;
    const ScriptOutput output = m_process.ReadAvailable();
    bool stopped = false;
    for (const std::string& piece : output.pieces) {
        EmitData(piece);
        if (generation != m_generation) {
            stopped = true;
            break;
        }
    }
    if (!stopped && output.ended)
        DropNotifier();
    m_delivering = false;
    // The notifier now belongs to whatever run is current, possibly one a handler started anew.
    if (m_notifier)
        m_notifier->setEnabled(true);
    if (!stopped && output.ended)
        EmitEnded();
}

} // namespace zantrove
