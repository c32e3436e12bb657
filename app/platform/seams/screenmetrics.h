// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// Screen facts in twips (1440 per inch).
class ScreenMetrics
{
public:
    virtual ~ScreenMetrics() = default;
    // The primary screen without the space that panels reserve, in twips.
    virtual QRect workAreaTwips() const = 0;
    // Every work area of every screen, in twips.
    virtual QList<QRect> allWorkAreasTwips() const = 0;
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
};
