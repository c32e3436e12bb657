// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// The desktop's notification area, where the tray icon lives: whether an
// icon can be shown there now, and word when a tray host comes or goes.
class NotificationArea : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool isAvailable() const = 0;
    // False where the tray host never reports the pointer resting on an icon
    // (StatusNotifierItem hosts report clicks only).
    virtual bool reportsHover() const = 0;

Q_SIGNALS:
    void availabilityChanged();
};
