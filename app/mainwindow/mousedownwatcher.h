// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Reports mouse presses on plain widgets that have no press event of their own.
class MouseDownWatcher : public QObject
{
    Q_OBJECT
public:
    explicit MouseDownWatcher(QWidget &widget);

Q_SIGNALS:
    void MouseDown(Qt::MouseButton Button, const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
