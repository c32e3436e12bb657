// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolbarart.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace ToolbarArt {
namespace {

using Draw = std::function<void(QPainter &)>;

QIcon drawIcon(const Draw &draw)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPen pen(const QColor &color, double width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void sheet(QPainter &p)
{
    p.setPen(pen(QColor(0x47, 0x55, 0x69), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 9, 12));
    p.setPen(pen(QColor(0x94, 0xa3, 0xb8), 1));
    for (double y : {4.5, 7.0, 9.5})
        p.drawLine(QPointF(4.5, y), QPointF(9.5, y));
}

} // namespace

QIcon editSelection()
{
    return drawIcon([](QPainter &p) {
        sheet(p);
        p.setPen(pen(QColor(0xd9, 0x77, 0x06), 2.2));
        p.drawLine(QPointF(8, 13), QPointF(14, 7));
        p.setPen(pen(QColor(0x1f, 0x29, 0x37), 1.2));
        p.drawLine(QPointF(6.8, 14.2), QPointF(7.8, 13.2));
    });
}

QIcon deleteSelection()
{
    return drawIcon([](QPainter &p) {
        sheet(p);
        p.setPen(pen(QColor(0xdc, 0x26, 0x26), 2));
        p.drawLine(QPointF(9, 9), QPointF(14, 14));
        p.drawLine(QPointF(14, 9), QPointF(9, 14));
    });
}

QIcon emptyList()
{
    return drawIcon([](QPainter &p) {
        p.setPen(pen(QColor(0x47, 0x55, 0x69), 1.2));
        p.setBrush(QColor(0xe2, 0xe8, 0xf0));
        QPainterPath bin;
        bin.moveTo(3.5, 4.5);
        bin.lineTo(12.5, 4.5);
        bin.lineTo(11.5, 14.5);
        bin.lineTo(4.5, 14.5);
        bin.closeSubpath();
        p.drawPath(bin);
        p.drawLine(QPointF(2, 3.5), QPointF(14, 3.5));
        p.drawLine(QPointF(6.5, 2), QPointF(9.5, 2));
        for (double x : {6.0, 8.0, 10.0})
            p.drawLine(QPointF(x, 6.5), QPointF(x, 12.5));
    });
}

QIcon helpContents()
{
    return drawIcon([](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x25, 0x63, 0xeb));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        QFont font;
        font.setBold(true);
        font.setPixelSize(11);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
    });
}

} // namespace ToolbarArt
