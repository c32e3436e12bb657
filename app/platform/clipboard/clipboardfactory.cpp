// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboardfactory.h"

#include "failoverclipboard.h"
#include "logcategories.h"
#include "qtclipboard.h"
#include "waylandclipboard.h"
#include "x11clipboard.h"

#include <QGuiApplication>

namespace {

std::unique_ptr<Clipboard> platformClipboard(bool xcb, QObject *parent = nullptr)
{
    if (xcb)
        return std::make_unique<X11Clipboard>(X11ReadLimits{}, parent);
    return std::make_unique<QtClipboard>(parent);
}

} // namespace

std::unique_ptr<Clipboard> createSystemClipboard(QObject *parent)
{
    const QString platform = QGuiApplication::platformName();
    const bool xcb = platform == QLatin1String("xcb");
    // Under Wayland a client is refused the selection while it lacks the
    // focus (through XWayland too): where the compositor offers
    // data-control, that serves.
    if ((xcb || platform.startsWith(QLatin1String("wayland"))) &&
        qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
        if (std::unique_ptr<WaylandClipboard> wayland = WaylandClipboard::connectTo()) {
            return std::make_unique<FailoverClipboard>(
                std::move(wayland),
                [xcb] {
                    qCWarning(lcClipboard, "the platform's clipboard reader takes over");
                    return platformClipboard(xcb);
                },
                parent);
        }
    }
    return platformClipboard(xcb, parent);
}
