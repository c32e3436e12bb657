// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "selectionbuttons.h"

#include <QList>
#include <QWidget>

class QToolButton;

// Toolbar1: four caption-less push buttons, each known by its key.
class ButtonToolbar : public QWidget, public SelectionButtons
{
    Q_OBJECT
public:
    // The style bit that gives the flat look: buttons drawn raised only
    // under the pointer.
    static constexpr int kFlatStyle = 0x0800;

    // buttonSize is in pixels.
    ButtonToolbar(const QSize &buttonSize, QWidget *parent = nullptr);

    // Buttons are numbered from 1, in the order "Mod", "Elim", "ElimT", "Gui".
    QToolButton *button(int index) const { return m_buttons.at(index - 1); }
    QString key(int index) const;

    int style() const { return m_style; }
    void setStyle(int style);
    // Flips the flat-style bit of the style word and repaints.
    void toggleFlatStyle();

    void setSelectionButtonsEnabled(bool enabled) override;

    // Shows only the buttons that fit whole within `width` pixels from the
    // toolbar's left edge; a button cut by the edge is hidden, so it can
    // never be clicked unseen.
    void fitToWidth(int width);

Q_SIGNALS:
    // A button was clicked; `key` is its key.
    void ButtonClick(const QString &key);
    // A mouse button was pressed on the toolbar (its buttons included).
    void MouseDown(Qt::MouseButton button, const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QList<QToolButton *> m_buttons;
    int m_style = 0;
};
