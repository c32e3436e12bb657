// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notificationarea.h"

#include <QDBusConnection>
#include <xcb/xcb.h>

class QSocketNotifier;

// The notification area as the tray control sees it. A StatusNotifierItem
// host (a watcher on the session bus that reports one) shows the icon as an
// item; without one the icon docks in an X11 tray, where Qt's tray icons go
// there. On X11 a tray host announces itself with a MANAGER message on the
// root window and goes away with the window that owns the
// _NET_SYSTEM_TRAY_S<n> selection; while the icon docks there, availability
// is whether that selection has an owner. On the bus, watchers and hosts are
// followed as they come and go. Off X11 without an item host, availability
// is what Qt reports.
class X11NotificationArea : public NotificationArea
{
    Q_OBJECT
public:
    explicit X11NotificationArea(QObject *parent = nullptr);
    ~X11NotificationArea() override;

    bool isAvailable() const override;
    // Item hosts report clicks, never the pointer resting on the icon.
    bool reportsHover() const override { return !m_hostRegistered; }

private Q_SLOTS:
    void refreshHost();

private:
    void watchBus();
    void watchOwner();
    void readEvents();

    xcb_connection_t *m_connection = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    xcb_atom_t m_selection = XCB_NONE;
    xcb_atom_t m_manager = XCB_NONE;
    xcb_window_t m_owner = XCB_NONE;
    QDBusConnection m_bus;
    bool m_hostRegistered = false;
};
