// SPDX-License-Identifier: GPL-3.0-or-later
#include "trayart.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace TrayArt {
namespace {

enum class Glyph { Lines, Plus, Pause };

// A clipboard on a coloured tile; the glyph on the sheet tells the state.
QPixmap drawTile(int size, const QColor &color, Glyph glyph)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);

    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRoundedRect(QRectF(0, 0, 16, 16), 3, 3);

    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(3.5, 3, 9, 11.5), 1.2, 1.2);
    p.setBrush(color.darker(140));
    p.drawRoundedRect(QRectF(5.5, 1.5, 5, 3), 1, 1);

    QPen pen(color, 1.3, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    switch (glyph) {
    case Glyph::Lines:
        p.drawLine(QPointF(5.5, 7), QPointF(10.5, 7));
        p.drawLine(QPointF(5.5, 9.5), QPointF(10.5, 9.5));
        p.drawLine(QPointF(5.5, 12), QPointF(9, 12));
        break;
    case Glyph::Plus:
        pen.setWidthF(1.8);
        p.setPen(pen);
        p.drawLine(QPointF(8, 6.5), QPointF(8, 12.5));
        p.drawLine(QPointF(5, 9.5), QPointF(11, 9.5));
        break;
    case Glyph::Pause:
        pen.setWidthF(1.8);
        p.setPen(pen);
        p.drawLine(QPointF(6.5, 7), QPointF(6.5, 12));
        p.drawLine(QPointF(9.5, 7), QPointF(9.5, 12));
        break;
    }
    return pixmap;
}

QIcon drawIcon(const QColor &color, Glyph glyph)
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(drawTile(size, color, glyph));
    return icon;
}

} // namespace

QIcon normalIcon()
{
    return drawIcon(kNormalColor, Glyph::Lines);
}

QIcon captureIcon()
{
    return drawIcon(kCaptureColor, Glyph::Plus);
}

QIcon suspendedIcon()
{
    return drawIcon(kSuspendedColor, Glyph::Pause);
}

} // namespace TrayArt
