// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A classic scroll arrow along the top or bottom edge of a popup menu, drawn
// by the style; drawn active while there is more to see in its direction. It
// stays enabled either way, so that a click on it never reaches the menu,
// which would close.
class MenuScrollArrow : public QWidget
{
    Q_OBJECT
public:
    enum Direction { Up = -1, Down = 1 };

    MenuScrollArrow(Direction direction, QWidget *menu);

    Direction direction() const { return m_direction; }
    void setActive(bool active);
    bool isActive() const { return m_active; }
    QSize sizeHint() const override;

Q_SIGNALS:
    // The pointer came onto the arrow, or left it.
    void pointed(bool onArrow);
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Direction m_direction;
    bool m_active = false;
};
