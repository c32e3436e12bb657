// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "utf8text.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>

// The history: one entry per captured text, each with its name (the line
// the list shows), its content (what is copied back), its check mark and its
// tray caption, all moving together. Views show it: the history list and
// the tray copy menu.
//
// Names and contents are held as UTF-8 bytes, a name sharing its content's
// bytes while the two are equal; they become QStrings only where they are
// shown or copied back, and only as far as needed.
class HistoryStore : public QAbstractListModel
{
    Q_OBJECT
public:
    // At most this many entries, as many as the content table has slots
    // less the one that always stays free.
    static constexpr int kTableSize = 32767;
    static constexpr int kCapacity = kTableSize - 1;
    // Tray captions longer than this are cut and end in "...".
    static constexpr int kCaptionLength = 60;
    // A renamed entry's caption: its whole name, up to a sane length.
    static constexpr int kRenamedCaptionLength = 1000;

    // Qt::DisplayRole and Qt::AccessibleTextRole give the name's first
    // kShownLength characters, and an ellipsis when it is longer.
    static constexpr int kShownLength = 1000;

    enum Role {
        ContentRole = Qt::UserRole, // QString: what is copied back
        CaptionRole,                // QString: the tray menu's caption
        // quint64: changes whenever the name does, so views can keep what
        // they computed from a name for as long as the id stays.
        NameIdRole,
    };

    // releaseFreedMemory hands the memory of removed entries back to the
    // system; called after large removals, when set.
    explicit HistoryStore(std::function<void()> releaseFreedMemory = {}, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    int count() const { return int(m_entries.size()); }
    bool isFull() const { return count() >= kCapacity; }
    // Texts in UTF-8, valid, as the clipboard gives them.
    bool containsText(const QByteArray &utf8) const { return m_index.contains(utf8); }
    // Appends a text known to be non-empty and not contained; returns its
    // index, or -1 when the store is full. The entry keeps these very bytes.
    int appendEntry(const QByteArray &utf8);
    // The whole content, as copied back.
    QString readContent(int index) const { return Utf8Text::toString(m_entries.at(index).content); }
    const QByteArray &contentBytes(int index) const { return m_entries.at(index).content; }
    // The whole name, for editing.
    QString name(int index) const { return Utf8Text::toString(m_entries.at(index).name); }
    const QByteArray &nameBytes(int index) const { return m_entries.at(index).name; }
    QString caption(int index) const;
    bool isChecked(int index) const { return m_entries.at(index).checked; }
    void setChecked(int index, bool checked);
    // The indexes of the checked entries, in list order.
    QList<int> checkedRows() const;
    void updateEntry(int index, const QString &name, const QString &content);
    void removeEntryAt(int index);
    void clear();

    // Grows with every change of the entries' contents, so readers can tell
    // that an earlier answer of containsText() still holds.
    quint64 revision() const { return m_revision; }

    static QString trayCaption(QByteArrayView utf8);
    static QString renamedCaption(QByteArrayView utf8);

private:
    struct Entry
    {
        QByteArray name;
        QByteArray content;
        quint64 nameId = 0;
        bool checked = false;
        bool renamed = false;
    };

    void indexAdd(const QByteArray &content);
    void indexRemove(const QByteArray &content);
    static qsizetype footprint(const Entry &entry);
    // Has the memory of removed entries given back once enough of it is
    // free, after the current event.
    void released(qsizetype bytes);

    QList<Entry> m_entries;
    // How many entries hold each content.
    QHash<QByteArray, int> m_index;
    quint64 m_revision = 0;
    quint64 m_nextNameId = 1;
    std::function<void()> m_releaseFreedMemory;
    qsizetype m_releasedBytes = 0;
    bool m_trimQueued = false;
};
