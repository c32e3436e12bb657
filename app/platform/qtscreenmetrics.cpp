// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtscreenmetrics.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {

constexpr double kTwipsPerInch = 1440.0;

QRect toTwips(const QRect &pixels, double tx, double ty)
{
    return QRect(int(std::lround(pixels.x() * tx)), int(std::lround(pixels.y() * ty)),
                 int(std::lround(pixels.width() * tx)), int(std::lround(pixels.height() * ty)));
}

} // namespace

QRect QtScreenMetrics::workAreaTwips() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return toTwips(screen->availableGeometry(), twipsPerPixelX(), twipsPerPixelY());
}

QList<QRect> QtScreenMetrics::allWorkAreasTwips() const
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas << toTwips(screen->availableGeometry(), twipsPerPixelX(), twipsPerPixelY());
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
