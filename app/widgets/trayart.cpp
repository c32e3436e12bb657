// SPDX-License-Identifier: GPL-3.0-or-later
#include "trayart.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace TrayArt {
namespace {

enum class Glyph { Lines, Plus, Pause };

// A clipboard on a coloured tile; the glyph on the sheet tells the state.
// Laid out afresh in whole pixels at each size, so that its edges and strokes
// stay sharp: only the rounded corners are smoothed.
QPixmap drawTile(int size, const QColor &color, Glyph glyph)
{
    const double unit = size / 16.0;
    const auto px = [unit](double v) { return int(std::lround(v * unit)); };
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::NoPen);

    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(color);
    p.drawRoundedRect(QRect(0, 0, size, size), px(3), px(3));
    const int margin = int(3.5 * unit);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRect(margin, px(3), size - 2 * margin, size - px(1.5) - px(3)),
                      std::max(1, px(1.2)), std::max(1, px(1.2)));
    int clipWidth = px(5);
    clipWidth += (size - clipWidth) % 2; // centred on whole pixels
    p.setBrush(color.darker(140));
    p.drawRoundedRect(QRect((size - clipWidth) / 2, px(1.5), clipWidth, px(3)), std::max(1, px(1)),
                      std::max(1, px(1)));
    p.setRenderHint(QPainter::Antialiasing, false);

    // Strokes as whole-pixel bars: across from x0 to x1 at height y, or down.
    const int thin = std::max(1, px(1.3));
    const int thick = std::max(1, px(1.8));
    const auto across = [&](double x0, double x1, double y, int width) {
        p.fillRect(QRect(px(x0), int(std::lround(y * unit - width / 2.0)), px(x1) - px(x0), width),
                   color);
    };
    const auto down = [&](double x, double y0, double y1, int width) {
        p.fillRect(QRect(int(std::lround(x * unit - width / 2.0)), px(y0), width, px(y1) - px(y0)),
                   color);
    };
    switch (glyph) {
    case Glyph::Lines:
        across(5.5, 10.5, 7, thin);
        across(5.5, 10.5, 9.5, thin);
        across(5.5, 9, 12, thin);
        break;
    case Glyph::Plus:
        down(8, 6.5, 12.5, thick);
        across(5, 11, 9.5, thick);
        break;
    case Glyph::Pause:
        down(6.5, 7, 12, thick);
        down(9.5, 7, 12, thick);
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
