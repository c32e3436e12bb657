// SPDX-License-Identifier: GPL-3.0-or-later
#include "trayhost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace TrayHost {

bool reportsHover()
{
    // Qt shows its tray icons through a StatusNotifierItem whenever a watcher runs.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return true;
    return !bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

} // namespace TrayHost
