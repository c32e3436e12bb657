// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

struct NotifyIconData;

/// The window a tray icon belongs to, and how the icon's mouse actions reach it: as the
/// callback message, once a request has given one, with the icon id and the mouse message.
struct IconWindow
{
    QPointer<QObject> window;
    quint32 id = 0;
    quint32 callbackMessage = 0;
    bool notifies = false;

    /// The window and id a request names, with no callback message yet.
    static IconWindow of(const NotifyIconData &data);
    bool is(const QObject *otherWindow, quint32 otherId) const;
    /// Takes the callback message from a request that flags it.
    void apply(const NotifyIconData &data);
    /// Sends one mouse message to the window; false when it takes none (no callback message
    /// yet, or the window is gone).
    bool send(quint32 mouseMessage, QPoint pos = {}) const;
};
