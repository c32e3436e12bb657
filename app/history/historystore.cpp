// SPDX-License-Identifier: GPL-3.0-or-later
#include "historystore.h"

#include <QTimer>
#include <utility>

namespace {

// Freed memory is handed back to the system once this much is free.
constexpr qsizetype kTrimThreshold = 4 * 1024 * 1024;

} // namespace

HistoryStore::HistoryStore(std::function<void()> releaseFreedMemory, QObject *parent)
    : QAbstractListModel(parent), m_releaseFreedMemory(std::move(releaseFreedMemory))
{}

QString HistoryStore::trayCaption(QByteArrayView utf8)
{
    return Utf8Text::head(utf8, kCaptionLength);
}

QString HistoryStore::renamedCaption(QByteArrayView utf8)
{
    // A new name is shown whole, short of a size that would freeze the menu.
    return Utf8Text::head(utf8, kRenamedCaptionLength);
}

int HistoryStore::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant HistoryStore::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Entry &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        // A line shows far less; assistive tools never get megabytes.
        return Utf8Text::head(entry.name, kShownLength, u"\u2026");
    case Qt::CheckStateRole:
        return entry.checked ? Qt::Checked : Qt::Unchecked;
    case ContentRole:
        return Utf8Text::toString(entry.content);
    case CaptionRole:
        return caption(index.row());
    case NameIdRole:
        return entry.nameId;
    default:
        return {};
    }
}

bool HistoryStore::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    setChecked(index.row(), value.value<Qt::CheckState>() == Qt::Checked);
    return true;
}

Qt::ItemFlags HistoryStore::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
           Qt::ItemNeverHasChildren;
}

QString HistoryStore::caption(int index) const
{
    const Entry &entry = m_entries.at(index);
    return entry.renamed ? renamedCaption(entry.name) : trayCaption(entry.content);
}

int HistoryStore::appendEntry(const QByteArray &utf8)
{
    if (isFull())
        return -1;
    const int index = count();
    beginInsertRows({}, index, index);
    m_entries.append({utf8, utf8, m_nextNameId++, false, false});
    indexAdd(utf8);
    ++m_revision;
    endInsertRows();
    return index;
}

void HistoryStore::setChecked(int index, bool checked)
{
    if (m_entries[index].checked == checked)
        return;
    m_entries[index].checked = checked;
    const QModelIndex at = this->index(index);
    Q_EMIT dataChanged(at, at, {Qt::CheckStateRole});
}

QList<int> HistoryStore::checkedRows() const
{
    QList<int> rows;
    for (int i = 0; i < count(); ++i) {
        if (m_entries.at(i).checked)
            rows << i;
    }
    return rows;
}

void HistoryStore::updateEntry(int index, const QString &name, const QString &content)
{
    Entry &entry = m_entries[index];
    indexRemove(entry.content);
    released(footprint(entry));
    entry.content = Utf8Text::fromString(content);
    entry.name = name == content ? entry.content : Utf8Text::fromString(name);
    entry.nameId = m_nextNameId++;
    entry.renamed = true;
    indexAdd(entry.content);
    ++m_revision;
    const QModelIndex at = this->index(index);
    Q_EMIT dataChanged(at, at);
}

void HistoryStore::removeEntryAt(int index)
{
    if (index < 0 || index >= count())
        return;
    beginRemoveRows({}, index, index);
    const Entry &entry = m_entries.at(index);
    indexRemove(entry.content);
    released(footprint(entry));
    m_entries.removeAt(index);
    ++m_revision;
    endRemoveRows();
}

void HistoryStore::clear()
{
    beginResetModel();
    qsizetype bytes = 0;
    for (const Entry &entry : std::as_const(m_entries))
        bytes += footprint(entry);
    m_entries = {};
    m_index = {};
    ++m_revision;
    endResetModel();
    released(bytes);
}

qsizetype HistoryStore::footprint(const Entry &entry)
{
    const bool shared = entry.name.constData() == entry.content.constData();
    return entry.content.size() + (shared ? 0 : entry.name.size());
}

void HistoryStore::indexAdd(const QByteArray &content)
{
    ++m_index[content];
}

void HistoryStore::indexRemove(const QByteArray &content)
{
    const auto it = m_index.find(content);
    if (it != m_index.end() && --it.value() == 0)
        m_index.erase(it);
}

void HistoryStore::released(qsizetype bytes)
{
    m_releasedBytes += bytes;
    if (!m_releaseFreedMemory || m_trimQueued || m_releasedBytes < kTrimThreshold)
        return;
    m_trimQueued = true;
    // After the current event, when the views have let go of the texts too.
    QTimer::singleShot(0, this, [this] {
        m_trimQueued = false;
        m_releasedBytes = 0;
        m_releaseFreedMemory();
    });
}
