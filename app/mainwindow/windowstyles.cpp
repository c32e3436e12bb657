// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowstyles.h"

#include "alwaysontop.h"
#include "framegeometry.h"
#include "menutree.h"
#include "screenmetrics.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <algorithm>

WindowStyles::WindowStyles(QWidget &window, FrameGeometry &geometry, AlwaysOnTop &alwaysOnTop,
                           MenuTree &menus, const ScreenMetrics &screen)
    : m_window(window), m_geometry(geometry), m_alwaysOnTop(alwaysOnTop), m_menus(menus),
      m_screen(screen)
{}

void WindowStyles::resetStyleMenu()
{
    m_menus.stiletool->setChecked(true);
    m_menus.stilefin->setChecked(false);
    m_menus.allinea->setEnabled(true);
}

void WindowStyles::windowStyle()
{
    m_menus.stiletool->setChecked(false);
    m_menus.stilefin->setChecked(true);
    m_menus.allinea->setEnabled(false);
    followStyleInTiling();
    m_geometry.resizeTwips(kWindowSize, kWindowSize);
    m_geometry.moveTwips(kWindowPlace, kWindowPlace);
}

void WindowStyles::barStyle()
{
    resetStyleMenu();
    freeWidth();
    m_geometry.moveTwips(0, 0);
    m_geometry.resizeTwips(kBarWidth, m_screen.workAreaTwips().height());
    followStyleInTiling();
}

void WindowStyles::followStyleInTiling()
{
    if (!m_screen.tilesWindows())
        return;
    if (m_menus.stiletool->isChecked())
        m_window.setFixedWidth(m_window.width());
    else
        freeWidth();
}

void WindowStyles::freeWidth()
{
    m_window.setMinimumWidth(0);
    m_window.setMaximumWidth(QWIDGETSIZE_MAX);
}

QSize WindowStyles::barSizeTwips() const
{
    // The size the window really gets, in whole pixels.
    const Twips twips = m_geometry.twips();
    return twips.toTwips(twips.toPixels(QSize(kBarWidth, m_screen.workAreaTwips().height())));
}

void WindowStyles::keepMinimumSize()
{
    const QRect outer = m_geometry.outerTwips();
    if (outer.size() == barSizeTwips())
        return;
    if (outer.height() < kMinHeight || outer.width() < kMinWidth)
        m_geometry.resizeTwips(std::max(outer.width(), kMinWidth),
                               std::max(outer.height(), kMinHeight));
}

void WindowStyles::dockLeft()
{
    m_geometry.moveTwips(0, 0);
}

void WindowStyles::dockRight()
{
    m_geometry.moveTwips(m_screen.workAreaTwips().width() - m_geometry.outerTwips().width(), 0);
}

void WindowStyles::applyTopmostCheck()
{
    m_alwaysOnTop.apply(m_menus.mnutopmost->isChecked());
}
