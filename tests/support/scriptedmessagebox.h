// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "messagebox.h"

#include <QList>
#include <functional>

// Answers message boxes from a script and records what was asked.
class ScriptedMessageBox : public MessageBox
{
public:
    struct Call
    {
        QString text;
        int style;
        QString title;
    };

    // Queues the answers of the next boxes; an unscripted box answers its
    // first button (OK or Yes).
    void answer(std::initializer_list<int> results) { m_answers.append(results); }
    // Runs before a box returns, e.g. to check the window state it shows over.
    std::function<void(const Call &)> onShow;

    int MsgBox(const QString &text, int style, const QString &title = {}) override;

    QList<Call> calls;

private:
    QList<int> m_answers;
};
