// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Clipboard;
class HistoryStore;
class MessageBox;
class QMenu;
class QPoint;

// The tray icon's copy menu (mnucdLista): every entry by its tray caption;
// choosing one puts the entry's content back on the clipboard.
class TrayCopyMenu
{
public:
    TrayCopyMenu(HistoryStore &store, Clipboard &clipboard, MessageBox &messages,
                 QMenu &mnucdLista);

    // Element `index` of mnulista was chosen (1 for the first entry).
    void copyEntry(int index);
    // The hint item "Copia il contenuto di:" was chosen.
    void showHint();
    // Opens the menu at a point of the screen, on the screen that holds it.
    void popup(const QPoint &globalPos);

private:
    HistoryStore &m_store;
    Clipboard &m_clipboard;
    MessageBox &m_messages;
    QMenu &m_menu;
};
