// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <optional>

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
    // Where the pointer is, in pixels; unknown in a Wayland session, where a
    // program sees the pointer only while it is over the program's windows.
    virtual std::optional<QPoint> pointerPosition() const = 0;
    // The window manager tiles every window that does not ask to float (the
    // wlroots compositors of a Wayland session, such as sway).
    virtual bool tilesWindows() const = 0;
};
