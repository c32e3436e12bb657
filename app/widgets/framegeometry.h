// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "twips.h"

#include <QObject>
#include <QRect>
#include <optional>

class QWidget;
class ScreenMetrics;

// A top-level window's outer (frame) geometry in twips, as the user sees it.
//
// The window manager reports the frame only some time after a window is
// shown; until then a requested outer size is kept and applied again once
// the frame is known, so that sizes do not drift by the frame.
class FrameGeometry : public QObject
{
    Q_OBJECT
public:
    FrameGeometry(QWidget &window, const ScreenMetrics &screen);

    QRect outerTwips() const;
    void setOuterTwips(const QRect &twips);
    void moveTwips(int left, int top);
    void resizeTwips(int width, int height);

    // Frames are measured at the vertical resolution in both directions, as
    // the window system call expects.
    Twips twips() const { return Twips::verticalOf(m_screen); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMargins frameMargins() const;
    void applyOuterSize(const QSize &outer);
    void settlePlace();

    QWidget &m_window;
    const ScreenMetrics &m_screen;
    // An outer size asked for before the frame was known.
    std::optional<QSize> m_pendingSize;
    // A frame position asked for, until the window system shows it.
    std::optional<QPoint> m_pendingPlace;
    // The client size that request gave.
    QSize m_requestedClientSize;
};
