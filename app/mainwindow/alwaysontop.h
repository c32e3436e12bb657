// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class FrameGeometry;
class QWidget;

// Puts a window in or out of the window manager's always-on-top band while
// keeping its place and size, and shows it without activating it.
class AlwaysOnTop
{
public:
    AlwaysOnTop(QWidget &window, FrameGeometry &geometry);

    // With show false the window is left as visible or hidden as it was
    // (used while the window is still loading).
    void apply(bool on, bool show = true);
    bool isOn() const;

private:
    QWidget &m_window;
    FrameGeometry &m_geometry;
};
