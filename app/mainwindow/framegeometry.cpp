// SPDX-License-Identifier: GPL-3.0-or-later
#include "framegeometry.h"

#include "screenmetrics.h"

#include <QEvent>
#include <QWidget>
#include <cmath>

FrameGeometry::FrameGeometry(QWidget &window, const ScreenMetrics &screen)
    : QObject(&window), m_window(window), m_screen(screen)
{
    m_window.installEventFilter(this);
}

int FrameGeometry::toPixels(int twips) const
{
    // Horizontal values use the vertical factor too, as the window system call expects.
    return int(std::lround(twips / m_screen.twipsPerPixelY()));
}

int FrameGeometry::toTwips(int pixels) const
{
    return int(std::lround(pixels * m_screen.twipsPerPixelY()));
}

QMargins FrameGeometry::frameMargins() const
{
    const QRect frame = m_window.frameGeometry();
    const QRect client = m_window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

QRect FrameGeometry::outerTwips() const
{
    const QRect frame = m_window.frameGeometry();
    const QSize size = m_pendingSize ? *m_pendingSize : frame.size();
    return QRect(toTwips(frame.x()), toTwips(frame.y()), toTwips(size.width()),
                 toTwips(size.height()));
}

void FrameGeometry::setOuterTwips(const QRect &twips)
{
    m_window.move(toPixels(twips.x()), toPixels(twips.y())); // places the frame
    applyOuterSize(QSize(toPixels(twips.width()), toPixels(twips.height())));
}

void FrameGeometry::moveTwips(int left, int top)
{
    m_window.move(toPixels(left), toPixels(top));
}

void FrameGeometry::resizeTwips(int width, int height)
{
    applyOuterSize(QSize(toPixels(width), toPixels(height)));
}

void FrameGeometry::applyOuterSize(const QSize &outer)
{
    const QMargins margins = frameMargins();
    m_window.resize(std::max(1, outer.width() - margins.left() - margins.right()),
                    std::max(1, outer.height() - margins.top() - margins.bottom()));
    // Without a frame yet, the size is applied again when the frame arrives.
    if (margins.isNull()) {
        m_pendingSize = outer;
        m_requestedClientSize = m_window.size();
    } else {
        m_pendingSize.reset();
    }
}

bool FrameGeometry::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window || !m_pendingSize ||
        (event->type() != QEvent::Move && event->type() != QEvent::Resize))
        return QObject::eventFilter(watched, event);
    if (!frameMargins().isNull()) {
        const QSize outer = *m_pendingSize;
        m_pendingSize.reset();
        applyOuterSize(outer);
    } else if (event->type() == QEvent::Resize && m_window.size() != m_requestedClientSize) {
        // Sized by someone else: the request no longer stands.
        m_pendingSize.reset();
    }
    return QObject::eventFilter(watched, event);
}
