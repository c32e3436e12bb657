// SPDX-License-Identifier: GPL-3.0-or-later
#include "traycopymenu.h"

#include "clipboard.h"
#include "historystore.h"
#include "messagebox.h"

#include <QMenu>
#include <QProxyStyle>

namespace {

// With thousands of entries the menu scrolls instead of spreading over
// columns that run off the screen.
class ScrollingMenuStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_Menu_Scrollable)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

TrayCopyMenu::TrayCopyMenu(HistoryStore &store, Clipboard &clipboard, MessageBox &messages,
                           QMenu &mnucdLista)
    : m_store(store), m_clipboard(clipboard), m_messages(messages), m_menu(mnucdLista)
{
    auto *style = new ScrollingMenuStyle;
    style->setParent(&m_menu);
    m_menu.setStyle(style);
    // Empty, the menu shows its two separators in a row around the missing
    // entries, as it is meant to look.
    m_menu.setSeparatorsCollapsible(false);
}

void TrayCopyMenu::copyEntry(int index)
{
    if (index < 1 || index > m_store.count())
        return;
    // Emptying the clipboard first leaves no other format behind.
    if (!m_clipboard.clear() || !m_clipboard.setText(m_store.readContent(index - 1)))
        m_messages.MsgBox(QStringLiteral("Gli Scrivel di sistema non sono disponibili. Terminare "
                                         "l'operazione in corso prima di riprovare."),
                          MessageBox::Exclamation);
}

void TrayCopyMenu::showHint()
{
    if (m_store.count() > 0)
        m_messages.MsgBox(QStringLiteral("Selezionare una voce di quelle sottostanti per copiare "
                                         "il relativo contenuto negli Scrivel di sistema."),
                          MessageBox::Information);
    else
        m_messages.MsgBox(
            QStringLiteral("Copiare del testo negli Scrivel di sistema e poi visualizzare di "
                           "nuovo questo menu: conterrà tutto ciò che di volta in volta viene "
                           "copiato o tagliato dalle applicazioni usate."),
            MessageBox::Information);
}

void TrayCopyMenu::popup(const QPoint &globalPos)
{
    m_menu.popup(globalPos);
}
