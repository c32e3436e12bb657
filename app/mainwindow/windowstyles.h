// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

class AlwaysOnTop;
class FrameGeometry;
class MenuTree;
class QWidget;
class ScreenMetrics;

// The main window's shapes and places: the narrow bar docked at a screen
// edge, the free window, and always-on-top. Geometry is in twips.
class WindowStyles
{
public:
    static constexpr int kBarWidth = 1470;
    static constexpr int kWindowSize = 6000;
    static constexpr int kWindowPlace = 1000;
    // The smallest window a user may drag the window to; the bar is narrower.
    static constexpr int kMinWidth = 1560;
    static constexpr int kMinHeight = 2000;

    WindowStyles(QWidget &window, FrameGeometry &geometry, AlwaysOnTop &alwaysOnTop,
                 MenuTree &menus, const ScreenMetrics &screen);

    void windowStyle();
    void barStyle();
    void dockLeft();
    void dockRight();
    // mnutopmost toggles its own check mark when chosen; this follows it.
    void applyTopmostCheck();
    // The outer size of the bar on the current screen, in whole pixels.
    QSize barSizeTwips() const;
    // Grows a window smaller than the smallest size back to it; the bar keeps its size.
    void keepMinimumSize();
    // The menu state every run starts in: bar style checked, docking available.
    void resetStyleMenu();
    // Where the window manager tiles windows, the bar asks to float (a fixed
    // width is a request tiling window managers honour); a free window does not.
    void followStyleInTiling();

private:
    void freeWidth();

    QWidget &m_window;
    FrameGeometry &m_geometry;
    AlwaysOnTop &m_alwaysOnTop;
    MenuTree &m_menus;
    const ScreenMetrics &m_screen;
};
