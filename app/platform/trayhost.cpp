// SPDX-License-Identifier: GPL-3.0-or-later
#include "trayhost.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace {

constexpr int kAnswerMs = 500;

} // namespace

namespace TrayHost {

bool statusNotifierHostRegistered(const QDBusConnection &bus)
{
    if (!bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.kde.StatusNotifierWatcher")
        << QStringLiteral("IsStatusNotifierHostRegistered");
    // Asking must not start a watcher that the bus could start on demand.
    get.setAutoStartService(false);
    const QDBusMessage reply = bus.call(get, QDBus::Block, kAnswerMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

bool reportsHover()
{
    // The tray control shows its icon as an item whenever such a host is there.
    return !statusNotifierHostRegistered(QDBusConnection::sessionBus());
}

} // namespace TrayHost
