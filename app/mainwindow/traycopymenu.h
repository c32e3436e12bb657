// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>
#include <vector>

class Clipboard;
class HistoryStore;
class MenuScrollArrow;
class MessageBox;
class QAction;
class QMenu;
class QPoint;

// The tray icon's copy menu (mnucdLista), a view of the history: every entry
// by its tray caption, in order; choosing one puts the entry's content back
// on the clipboard.
//
// The menu holds items only for the entries it can show at once on the
// screen, so that opening it costs the same with ten entries or thirty
// thousand. When there are more, the items show a window of the history that
// the wheel, the arrow and page keys, the pointer resting on the first or
// last item, and the scroll arrows along the menu's top and bottom edges
// move; an arrow is drawn active while entries lie beyond it.
class TrayCopyMenu : public QObject
{
    Q_OBJECT
public:
    // mnulista0 is the hidden placeholder inside mnucdLista; entry items
    // follow it, before `insertBefore`.
    TrayCopyMenu(HistoryStore &store, Clipboard &clipboard, MessageBox &messages, QMenu &mnucdLista,
                 QAction &mnulista0, QAction &insertBefore);

    // Element `index` of mnulista was chosen (1 for the first entry).
    void copyEntry(int index);
    // The hint item "Copia il contenuto di:" was chosen.
    void showHint();
    // Opens the menu with its corner at a point of the screen, moved wholly
    // onto the work area of the screen that holds the point, showing the
    // history from its first entry.
    void popup(const QPoint &globalPos);
    // Opens it in the middle of the primary screen, wholly on it, where the
    // pointer's place is unknown (a desktop shortcut in a Wayland session).
    void popupCentred();

    // mnulista(element): element 0 is the placeholder, element i + 1 is the
    // item of entry i while the menu shows it (nullptr otherwise).
    QAction *mnulista(int element) const;
    // The first entry the items show, and how many items there may be.
    int firstShown() const { return m_top; }
    int rows() const { return m_rows; }
    void setRows(int rows);
    // Moves the window of shown entries by `delta` entries.
    void scrollBy(int delta);
    // The arrows at the menu's top and bottom edges, shown while the history
    // is longer than the window.
    MenuScrollArrow *upArrow() const { return m_up; }
    MenuScrollArrow *downArrow() const { return m_down; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Brings the items in line with the history and the window.
    void sync();
    int rowsThatFit(const QPoint &globalPos) const;
    bool canScroll(int delta) const;
    void hovered(QAction *action);
    // Scrolls after a rest, then step by step, while the pointer stays.
    void startEdgeScroll(int direction);
    void updateArrows();
    void placeArrows();

    HistoryStore &m_store;
    Clipboard &m_clipboard;
    MessageBox &m_messages;
    QMenu &m_menu;
    QAction &m_placeholder;
    QAction &m_insertBefore;
    std::vector<QAction *> m_items;
    int m_top = 0;
    int m_rows;
    // Scrolls while the pointer rests on the first or last item.
    QTimer m_edgeScroll;
    int m_edgeDirection = 0;
    MenuScrollArrow *m_up;
    MenuScrollArrow *m_down;
};
