// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "messagebox.h"

class QWidget;

// Message boxes drawn by Qt, with Italian button captions.
class QtMessageBox : public MessageBox
{
public:
    explicit QtMessageBox(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    int MsgBox(const QString &text, int style, const QString &title = {}) override;

    // The application title shown when a box has none of its own.
    static QString applicationTitle();

private:
    QWidget *m_parent;
};
