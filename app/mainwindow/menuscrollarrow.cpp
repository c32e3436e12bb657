// SPDX-License-Identifier: GPL-3.0-or-later
#include "menuscrollarrow.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionMenuItem>

MenuScrollArrow::MenuScrollArrow(Direction direction, QWidget *menu)
    : QWidget(menu), m_direction(direction)
{
    setObjectName(direction == Up ? QStringLiteral("scorriSu") : QStringLiteral("scorriGiu"));
    setAccessibleName(direction == Up ? QStringLiteral("Voci precedenti")
                                      : QStringLiteral("Voci successive"));
    setMouseTracking(true);
}

void MenuScrollArrow::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    update();
}

QSize MenuScrollArrow::sizeHint() const
{
    return {0, std::max(style()->pixelMetric(QStyle::PM_MenuScrollerHeight, nullptr, this),
                        fontMetrics().height() * 2 / 3)};
}

void MenuScrollArrow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionMenuItem option;
    option.initFrom(this);
    option.menuItemType = QStyleOptionMenuItem::Scroller;
    option.menuRect = rect();
    if (!m_active)
        option.state &= ~QStyle::State_Enabled;
    if (m_direction == Down)
        option.state |= QStyle::State_DownArrow;
    style()->drawControl(QStyle::CE_MenuScroller, &option, &painter, this);
}

void MenuScrollArrow::enterEvent(QEnterEvent *)
{
    Q_EMIT pointed(true);
}

void MenuScrollArrow::leaveEvent(QEvent *)
{
    Q_EMIT pointed(false);
}

void MenuScrollArrow::mousePressEvent(QMouseEvent *event)
{
    // Kept from the menu, which would close on it.
    event->accept();
}

void MenuScrollArrow::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (m_active && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
