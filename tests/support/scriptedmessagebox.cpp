// SPDX-License-Identifier: GPL-3.0-or-later
#include "scriptedmessagebox.h"

int ScriptedMessageBox::MsgBox(const QString &text, int style, const QString &title)
{
    calls.append({text, style, title});
    if (onShow)
        onShow(calls.last());
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    switch (style & 0x0F) {
    case YesNo:
    case YesNoCancel:
        return Yes;
    default:
        return Ok;
    }
}
