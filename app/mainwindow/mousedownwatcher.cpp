// SPDX-License-Identifier: GPL-3.0-or-later
#include "mousedownwatcher.h"

#include <QMouseEvent>
#include <QWidget>

MouseDownWatcher::MouseDownWatcher(QWidget &widget) : QObject(&widget)
{
    widget.installEventFilter(this);
}

bool MouseDownWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        Q_EMIT MouseDown(press->button(), press->globalPosition().toPoint());
        return true; // handled here: not passed on to the parent as well
    }
    return QObject::eventFilter(watched, event);
}
