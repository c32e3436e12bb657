// SPDX-License-Identifier: GPL-3.0-or-later
#include "topmostbracket.h"

#include "alwaysontop.h"
#include "messagebox.h"
#include "modalhost.h"

#include <QAction>

TopmostBracket::TopmostBracket(AlwaysOnTop &alwaysOnTop, const QAction &mnutopmost,
                               MessageBox &messages, ModalHost &modals)
    : m_alwaysOnTop(alwaysOnTop), m_mnutopmost(mnutopmost), m_messages(messages), m_modals(modals)
{}

bool TopmostBracket::open()
{
    const bool wasChecked = m_mnutopmost.isChecked();
    m_alwaysOnTop.apply(false);
    return wasChecked;
}

void TopmostBracket::close(bool wasChecked)
{
    if (wasChecked)
        m_alwaysOnTop.apply(true);
}

int TopmostBracket::msgBox(const QString &text, int style, const QString &title)
{
    const bool wasChecked = open();
    const int result = m_messages.MsgBox(text, style, title);
    close(wasChecked);
    return result;
}

int TopmostBracket::showModal(QDialog &dialog)
{
    const bool wasChecked = open();
    const int result = m_modals.showModal(dialog);
    close(wasChecked);
    return result;
}
