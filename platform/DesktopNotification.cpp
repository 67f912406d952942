// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopNotification.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

#include <cstdlib>
#include <memory>

namespace zantrove {

namespace {
// A missing service answers at once; a hung one must not hold up the end of a run.
constexpr int kCallTimeoutMilliseconds = 3000;
} // namespace

bool SendDesktopNotification(const std::string& title, const std::string& body)
{
    // Without a session's address the bus library would try to start a bus of its own.
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (!address || !*address)
        return false;
    // The command line has no application object; the bus wants one.
    static int argc = 1;
    static char name[] = "zantrove-cli";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> application;
    if (!QCoreApplication::instance())
        application = std::make_unique<QCoreApplication>(argc, argv);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral("Zantrove") << 0u << QStringLiteral("zantrove") << QString::fromStdString(title)
         << QString::fromStdString(body) << QStringList{} << QVariantMap{} << -1;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMilliseconds);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace zantrove
