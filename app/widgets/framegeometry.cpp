// SPDX-License-Identifier: GPL-3.0-or-later
#include "framegeometry.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

FrameGeometry::FrameGeometry(QWidget &window, const ScreenMetrics &screen)
    : QObject(&window), m_window(window), m_screen(screen)
{
    m_window.installEventFilter(this);
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
    const QPoint place = m_pendingPlace ? *m_pendingPlace : frame.topLeft();
    const QSize size = m_pendingSize ? *m_pendingSize : frame.size();
    return twips().toTwips(QRect(place, size));
}

void FrameGeometry::setOuterTwips(const QRect &twips)
{
    moveTwips(twips.x(), twips.y());
    applyOuterSize(this->twips().toPixels(twips.size()));
}

void FrameGeometry::moveTwips(int left, int top)
{
    const QPoint frame = twips().toPixels(QPoint(left, top));
    m_pendingPlace = frame;
    m_window.move(frame);
    // A native window that exists before its frame is known (a dialog may
    // have needed it as a parent) is placed by its client area: ask for the
    // frame's place instead, or every run would store it a frame further off.
    if (QWindow *window = m_window.windowHandle(); window && frameMargins().isNull())
        window->setFramePosition(frame);
}

void FrameGeometry::resizeTwips(int width, int height)
{
    applyOuterSize(twips().toPixels(QSize(width, height)));
}

void FrameGeometry::settlePlace()
{
    // Until the window manager has placed the window, its frame is seen at
    // the requested place without a frame, then, once the frame is known,
    // shifted by the frame as if the client had been put there. Any other
    // place is where the window really is.
    const QMargins margins = frameMargins();
    if (margins.isNull())
        return;
    const QPoint misread = *m_pendingPlace - QPoint(margins.left(), margins.top());
    if (m_window.frameGeometry().topLeft() != misread)
        m_pendingPlace.reset();
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
    if (watched == &m_window && event->type() == QEvent::Move && m_pendingPlace)
        settlePlace();
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
