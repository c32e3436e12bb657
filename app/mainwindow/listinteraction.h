// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>

class EntryCommands;
class HistoryStore;
class MenuTree;
class QKeyEvent;
class HistoryView;
class SelectionButtons;

/// How the history list List1 answers the user: selection, double-click,
/// typed keys, the tooltip that follows the pointer, the "&Lista" popup on
/// the right button, and the state of the "&Lista" items each time that
/// menu opens.
///
/// The list's events are reported by the signals, which the main window
/// routes through its handlers back to the methods here. Commands on
/// entries are those of EntryCommands.
class ListInteraction : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        HistoryView &List1;
        HistoryStore &store;
        MenuTree &menus;
        SelectionButtons &buttons;
        EntryCommands &commands;
    };

    explicit ListInteraction(const Parts &parts, QObject *parent = nullptr);

    /// A line became selected.
    void selectionChanged();
    /// Copies the selected entry back, emptying the clipboard first.
    void doubleClick();
    /// Runs the key table for a typed character code (3 Ctrl+C, 13 Enter or
    /// Ctrl+M, 4 Ctrl+D, 22 Ctrl+V, "M" or "m").
    void keyPress(int code);
    /// Sets the list's tooltip for the selected entry.
    void mouseMove();
    /// The right button opens "&Lista" at @p globalPos with the selection
    /// left where it was.
    void mouseDown(Qt::MouseButton button, const QPoint &globalPos);
    /// Enables the "&Lista" items for the selection and the check marks.
    void updateMenuState();

    /// The tooltip while the pointer moves over the list.
    QString hoverTip() const;
    /// The character code a key press types, 0 for none.
    static int characterCode(const QKeyEvent &event);

    static QString noSelectionTip();

Q_SIGNALS:
    void Click();
    void DblClick();
    void KeyPress(int KeyAscii);
    void MouseMove();
    void MouseDown(Qt::MouseButton button, const QPoint &globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool filterKey(QKeyEvent &event);

    HistoryView &m_list;
    HistoryStore &m_store;
    MenuTree &m_menus;
    SelectionButtons &m_buttons;
    EntryCommands &m_commands;
};
