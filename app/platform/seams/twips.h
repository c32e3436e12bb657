// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screenmetrics.h"

#include <QRect>
#include <cmath>

// Converts between twips and pixels at a screen's resolution. Every value is
// rounded on its own to the nearest whole number, halves away from zero.
class Twips
{
public:
    constexpr Twips(double perPixelX, double perPixelY) : m_x(perPixelX), m_y(perPixelY) {}

    // Each direction at the screen's own resolution.
    static Twips of(const ScreenMetrics &screen)
    {
        return Twips(screen.twipsPerPixelX(), screen.twipsPerPixelY());
    }
    // Both directions at the vertical resolution, as window frames are measured.
    static Twips verticalOf(const ScreenMetrics &screen)
    {
        return Twips(screen.twipsPerPixelY(), screen.twipsPerPixelY());
    }

    int xToPixels(int twips) const { return across(twips, InPixels); }
    int yToPixels(int twips) const { return down(twips, InPixels); }
    QPoint toPixels(const QPoint &twips) const { return point(twips, InPixels); }
    QSize toPixels(const QSize &twips) const { return size(twips, InPixels); }
    QRect toPixels(const QRect &twips) const { return rect(twips, InPixels); }
    QSize toTwips(const QSize &pixels) const { return size(pixels, InTwips); }
    QRect toTwips(const QRect &pixels) const { return rect(pixels, InTwips); }

private:
    enum Unit { InPixels, InTwips };

    static int convert(int value, double perPixel, Unit to)
    {
        return int(std::lround(to == InPixels ? value / perPixel : value * perPixel));
    }
    int across(int value, Unit to) const { return convert(value, m_x, to); }
    int down(int value, Unit to) const { return convert(value, m_y, to); }
    QPoint point(const QPoint &p, Unit to) const { return {across(p.x(), to), down(p.y(), to)}; }
    QSize size(const QSize &s, Unit to) const
    {
        return {across(s.width(), to), down(s.height(), to)};
    }
    QRect rect(const QRect &r, Unit to) const
    {
        return {point(r.topLeft(), to), size(r.size(), to)};
    }

    double m_x;
    double m_y;
};
