// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileProperties.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QUrl>

namespace zantrove {

namespace {
// Long enough for the bus to start a file manager that is not running yet.
constexpr int kCallTimeoutMilliseconds = 5000;
} // namespace

bool ShowFileProperties(const std::string& path, const std::string& startupId)
{
    if (path.empty())
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItemProperties"));
    const QString uri = QUrl::fromLocalFile(QString::fromStdString(path)).toString(QUrl::FullyEncoded);
    call << QStringList{uri} << QString::fromStdString(startupId);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMilliseconds);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace zantrove
