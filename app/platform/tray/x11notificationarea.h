// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notificationarea.h"

#include <xcb/xcb.h>

class QSocketNotifier;

// The notification area as Qt's tray icons see it, watched on X11: a tray
// host announces itself with a MANAGER message on the root window and goes
// away with the window that owns the _NET_SYSTEM_TRAY_S<n> selection. While
// the icon docks there, availability is whether that selection has an owner.
// Off X11 nothing is watched and availability is what Qt reports.
class X11NotificationArea : public NotificationArea
{
    Q_OBJECT
public:
    explicit X11NotificationArea(QObject *parent = nullptr);
    ~X11NotificationArea() override;

    bool isAvailable() const override;
    bool reportsHover() const override;

private:
    static bool hostReportsHover();
    void watchOwner();
    void readEvents();

    xcb_connection_t *m_connection = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    xcb_atom_t m_selection = XCB_NONE;
    xcb_atom_t m_manager = XCB_NONE;
    xcb_window_t m_owner = XCB_NONE;
    bool m_reportsHover = true;
};
