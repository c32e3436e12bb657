// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtscreenmetrics.h"

#include "twips.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

constexpr double kTwipsPerInch = 1440.0;

// The _NET_WM_NAME of the window manager, as it names itself on the X
// display Qt uses; empty elsewhere.
QByteArray x11WindowManagerName()
{
    const auto *x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c)
        return {};
    const auto atom = [c](const char *name) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return value;
    };
    const auto property = [c](xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
        xcb_get_property_reply_t *reply =
            xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 256), nullptr);
        QByteArray value;
        if (reply)
            value = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
        std::free(reply);
        return value;
    };
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const QByteArray check = property(root, atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    if (check.size() != sizeof(xcb_window_t))
        return {};
    xcb_window_t wm = XCB_NONE;
    std::memcpy(&wm, check.constData(), sizeof wm);
    return property(wm, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
}

} // namespace

QRect QtScreenMetrics::workAreaTwips() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return Twips::of(*this).toTwips(screen->availableGeometry());
}

QList<QRect> QtScreenMetrics::allWorkAreasTwips() const
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas << Twips::of(*this).toTwips(screen->availableGeometry());
    return areas;
}

double QtScreenMetrics::twipsPerPixelX() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? kTwipsPerInch / screen->logicalDotsPerInchX() : 15.0;
}

double QtScreenMetrics::twipsPerPixelY() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? kTwipsPerInch / screen->logicalDotsPerInchY() : 15.0;
}

std::optional<QPoint> QtScreenMetrics::pointerPosition() const
{
    // On XWayland, the place where the pointer last left an X11 window.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return std::nullopt;
    return QCursor::pos();
}

bool QtScreenMetrics::tilesWindows() const
{
    // Every wlroots compositor's XWayland window manager names itself so;
    // sway and its kin tile.
    static const bool tiles = x11WindowManagerName() == "wlroots wm";
    return tiles;
}
