// SPDX-License-Identifier: GPL-3.0-or-later
#include "iconwindow.h"

#include "notifyicondata.h"
#include "windowmessageevent.h"

#include <QCoreApplication>

IconWindow IconWindow::of(const NotifyIconData &data)
{
    IconWindow owner;
    owner.window = data.hWnd;
    owner.id = data.uID;
    return owner;
}

bool IconWindow::is(const QObject *otherWindow, quint32 otherId) const
{
    return otherWindow && window == otherWindow && id == otherId;
}

void IconWindow::apply(const NotifyIconData &data)
{
    if (data.uFlags & NotifyIconData::MessageFlag) {
        notifies = true;
        callbackMessage = data.uCallbackMessage;
    }
}

bool IconWindow::send(quint32 mouseMessage, QPoint pos) const
{
    if (!notifies || !window)
        return false;
    WindowMessageEvent message(callbackMessage, id, qintptr(mouseMessage), pos);
    QCoreApplication::sendEvent(window, &message);
    return true;
}
