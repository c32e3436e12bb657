// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowmessageevent.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <functional>

// A window that records the tray messages it receives and may act on each.
class MessageWindow : public QObject
{
public:
    QList<qintptr> mouseMessages;
    QList<quint32> messages;
    QList<quintptr> ids;
    QList<QPoint> positions;
    std::function<void()> onMessage;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != WindowMessageEvent::EventType)
            return QObject::event(event);
        const auto *message = static_cast<WindowMessageEvent *>(event);
        messages.append(message->message());
        ids.append(message->wParam());
        mouseMessages.append(message->lParam());
        positions.append(message->pos());
        if (onMessage)
            onMessage();
        return true;
    }
};
