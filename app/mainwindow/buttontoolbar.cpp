// SPDX-License-Identifier: GPL-3.0-or-later
#include "buttontoolbar.h"

#include "toolbarart.h"

#include <QMouseEvent>
#include <QToolButton>

namespace {

struct ButtonInfo
{
    const char *key;
    const char *tooltip;
    // What a screen reader says the button does.
    const char *description;
    QIcon (*icon)();
};

const ButtonInfo kButtons[] = {
    {"Mod", "Modifica selezione",
     "Apre l'elemento selezionato per modificarne il nome e il contenuto",
     ToolbarArt::editSelection},
    {"Elim", "Elimina selezione", "Elimina dalla lista l'elemento selezionato",
     ToolbarArt::deleteSelection},
    {"ElimT", "Svuota lista", "Elimina tutti gli elementi della lista", ToolbarArt::emptyList},
    {"Gui", "Sommario della Guida", "Apre il sommario della Guida", ToolbarArt::helpContents},
};

} // namespace

ButtonToolbar::ButtonToolbar(const QSize &buttonSize, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setAccessibleName(QStringLiteral("Barra degli strumenti"));
    int x = 0;
    for (const ButtonInfo &info : kButtons) {
        auto *button = new QToolButton(this);
        const QString key = QLatin1String(info.key);
        button->setObjectName(key);
        button->setToolTip(QString::fromUtf8(info.tooltip));
        button->setAccessibleName(QString::fromUtf8(info.tooltip));
        button->setAccessibleDescription(QString::fromUtf8(info.description));
        button->setIcon(info.icon());
        button->setIconSize(QSize(16, 16));
        button->setGeometry(QRect(QPoint(x, 0), buttonSize));
        button->setFocusPolicy(Qt::NoFocus);
        button->installEventFilter(this);
        connect(button, &QToolButton::clicked, this, [this, key] { Q_EMIT ButtonClick(key); });
        m_buttons << button;
        x += buttonSize.width();
    }
    resize(x, buttonSize.height());
}

QString ButtonToolbar::key(int index) const
{
    return button(index)->objectName();
}

void ButtonToolbar::setStyle(int style)
{
    m_style = style;
    for (QToolButton *button : std::as_const(m_buttons))
        button->setAutoRaise(style & kFlatStyle);
}

void ButtonToolbar::toggleFlatStyle()
{
    setStyle(m_style ^ kFlatStyle);
    update();
}

void ButtonToolbar::setSelectionButtonsEnabled(bool enabled)
{
    button(1)->setEnabled(enabled);
    button(2)->setEnabled(enabled);
}

void ButtonToolbar::fitToWidth(int width)
{
    for (QToolButton *button : std::as_const(m_buttons))
        button->setVisible(button->geometry().right() < width);
}

bool ButtonToolbar::eventFilter(QObject *watched, QEvent *event)
{
    // Presses on the buttons count as presses on the toolbar. A disabled
    // button passes its presses on to the toolbar itself.
    if (event->type() == QEvent::MouseButtonPress && static_cast<QWidget *>(watched)->isEnabled()) {
        const auto *press = static_cast<QMouseEvent *>(event);
        Q_EMIT MouseDown(press->button(), press->globalPosition().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

void ButtonToolbar::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT MouseDown(event->button(), event->globalPosition().toPoint());
    event->accept(); // the strip around the toolbar must not see it again
}
