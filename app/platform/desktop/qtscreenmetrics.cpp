// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtscreenmetrics.h"

#include "twips.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {

constexpr double kTwipsPerInch = 1440.0;

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
