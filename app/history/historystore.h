// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;
class SelectionButtons;

// The history: one entry per captured text, kept in step in three places
// addressed by the same index: the line of List1 (its name and check box),
// the content table, and the tray menu item mnulista(index + 1).
class HistoryStore
{
public:
    // Size of the content table; removing an entry clears the slot after the
    // last one, so one slot always stays free.
    static constexpr int kTableSize = 32767;
    static constexpr int kCapacity = kTableSize - 1;
    // Tray captions longer than this are cut and end in "...".
    static constexpr int kCaptionLength = 60;

    // mnulista0 is the hidden placeholder inside mnucdLista; entry items are
    // inserted after it, before `insertBefore`.
    HistoryStore(QListWidget &List1, QMenu &mnucdLista, QAction &mnulista0, QAction &insertBefore);

    void setSelectionButtons(SelectionButtons *buttons) { m_buttons = buttons; }

    int count() const;
    bool isFull() const { return count() >= kCapacity; }
    bool containsText(const QString &text) const;
    // Appends a text known to be non-empty and not contained; returns its
    // index, or -1 when the store is full.
    int appendEntry(const QString &text);
    QString readContent(int index) const;
    QString name(int index) const;
    bool isChecked(int index) const;
    void updateEntry(int index, const QString &name, const QString &content);
    void removeEntryAt(int index);
    void clear();

    // mnulista(element): element 0 is the placeholder, element i + 1 belongs to entry i.
    QAction *mnulista(int element) const;
    // Slot of the content table, also past the entries (tests look at it).
    QString contentSlot(int slot) const { return m_content.at(slot); }

    // Grows with every change of the entries' contents, so readers can tell
    // that an earlier answer of containsText() still holds.
    quint64 revision() const { return m_revision; }
    // Called after every change of the entries.
    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    static QString trayCaption(const QString &text);
    // A renamed entry's caption: its whole name, up to a sane length.
    static constexpr int kRenamedCaptionLength = 1000;
    static QString renamedCaption(const QString &name);
    // Sets a list up to show history lines: one visual line each, drawn at a
    // cost that does not grow with the text.
    static void prepareList(QListWidget &list);

private:
    void changed();
    void indexAdd(const QString &content);
    void indexRemove(const QString &content);
    static void setLineName(QListWidgetItem &line, const QString &name);

    QListWidget &m_list;
    QMenu &m_menu;
    QAction &m_insertBefore;
    SelectionButtons *m_buttons = nullptr;
    QList<QString> m_content;
    std::vector<QAction *> m_mnulista;
    // How many entries hold each content.
    QHash<QString, int> m_index;
    quint64 m_revision = 0;
    std::function<void()> m_onChange;
};
