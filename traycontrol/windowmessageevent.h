// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QPoint>

/// A window message sent to a control's own window: the message number, its two parameters
/// and, where the sender knows it, the screen position the message refers to.
class WindowMessageEvent : public QEvent
{
public:
    /// A fixed event type, so that every copy of this code in a process agrees on it.
    static constexpr QEvent::Type EventType = QEvent::Type(QEvent::User + 1125);

    WindowMessageEvent(quint32 message, quintptr wParam, qintptr lParam, QPoint pos = {})
        : QEvent(EventType), m_message(message), m_wParam(wParam), m_lParam(lParam), m_pos(pos)
    {}

    quint32 message() const { return m_message; }
    quintptr wParam() const { return m_wParam; }
    qintptr lParam() const { return m_lParam; }
    /// Where on the screen the notification area saw the mouse action; (0, 0) when it did
    /// not say.
    QPoint pos() const { return m_pos; }

private:
    quint32 m_message;
    quintptr m_wParam;
    qintptr m_lParam;
    QPoint m_pos;
};
