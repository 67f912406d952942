// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's notification service on a private test bus: appends each notification's sender, time
// on screen, title and text to the file named by its argument; says "ready" once it owns the service name.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QFile>

#include <cstdio>

class NotificationRecorder : public QDBusVirtualObject
{
public:
    QString file;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() != QLatin1String("Notify") || message.arguments().size() != 8)
            return false;
        // Written through before the reply: the test may end this service as soon as the sender is done.
        QFile record(file);
        if (record.open(QIODevice::Append | QIODevice::Unbuffered))
            record.write(QStringLiteral("%1 %2\n%3\n%4\n")
                             .arg(message.arguments()[0].toString())
                             .arg(message.arguments()[7].toInt())
                             .arg(message.arguments()[3].toString(), message.arguments()[4].toString())
                             .toUtf8());
        return connection.send(message.createReply(QVariant::fromValue(1u))), true;
    }
};

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    NotificationRecorder recorder;
    recorder.file = QString::fromLocal8Bit(argc == 2 ? argv[1] : "");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (argc != 2 ||
        !bus.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), &recorder) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications")))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    return application.exec();
}
