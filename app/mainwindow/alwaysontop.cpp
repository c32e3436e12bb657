// SPDX-License-Identifier: GPL-3.0-or-later
#include "alwaysontop.h"

#include "framegeometry.h"

#include <QWidget>
#include <QWindow>

AlwaysOnTop::AlwaysOnTop(QWidget &window, FrameGeometry &geometry)
    : m_window(window), m_geometry(geometry)
{}

void AlwaysOnTop::apply(bool on, bool show)
{
    const QRect outer = m_geometry.outerTwips();
    Qt::WindowFlags flags = m_window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    // setWindowFlag() would destroy and re-create the native window; changing
    // the flags of the existing one only switches the "above" state.
    m_window.overrideWindowFlags(flags);
    if (QWindow *handle = m_window.windowHandle())
        handle->setFlags(flags);
    m_geometry.setOuterTwips(outer);
    if (show && !m_window.isVisible()) {
        m_window.setAttribute(Qt::WA_ShowWithoutActivating, true);
        m_window.show();
        m_window.setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

bool AlwaysOnTop::isOn() const
{
    return m_window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}
