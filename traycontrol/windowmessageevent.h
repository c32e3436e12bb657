// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>

/// A window message sent to a control's own window: the message number and its two
/// parameters.
class WindowMessageEvent : public QEvent
{
public:
    /// A fixed event type, so that every copy of this code in a process agrees on it.
    static constexpr QEvent::Type EventType = QEvent::Type(QEvent::User + 1125);

    WindowMessageEvent(quint32 message, quintptr wParam, qintptr lParam)
        : QEvent(EventType), m_message(message), m_wParam(wParam), m_lParam(lParam)
    {}

    quint32 message() const { return m_message; }
    quintptr wParam() const { return m_wParam; }
    qintptr lParam() const { return m_lParam; }

private:
    quint32 m_message;
    quintptr m_wParam;
    qintptr m_lParam;
};
