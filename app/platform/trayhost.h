// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDBusConnection;

// What the desktop's notification area can tell the program.
namespace TrayHost {

// True when a StatusNotifierItem watcher on `bus` reports a registered host,
// which shows tray icons as items on the bus. A watcher that does not answer
// within a short time counts as having none.
bool statusNotifierHostRegistered(const QDBusConnection &bus);

// False where tray icons are shown through a StatusNotifierItem host, which
// reports clicks but never the pointer resting on an icon.
bool reportsHover();

} // namespace TrayHost
