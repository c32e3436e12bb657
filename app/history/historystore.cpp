// SPDX-License-Identifier: GPL-3.0-or-later
#include "historystore.h"

#include "entrydelegate.h"
#include "selectionbuttons.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>

HistoryStore::HistoryStore(QListWidget &List1, QMenu &mnucdLista, QAction &mnulista0,
                           QAction &insertBefore)
    : m_list(List1), m_menu(mnucdLista), m_insertBefore(insertBefore),
      m_content(kTableSize), m_mnulista{&mnulista0}
{}

QString HistoryStore::renamedCaption(const QString &name)
{
    // A new name is shown whole, short of a size that would freeze the menu.
    if (name.size() <= kRenamedCaptionLength)
        return name;
    return name.left(kRenamedCaptionLength) + QLatin1String("...");
}

void HistoryStore::prepareList(QListWidget &list)
{
    list.setUniformItemSizes(true);
    list.setItemDelegate(new EntryDelegate(&list));
}

int HistoryStore::count() const
{
    return m_list.count();
}

bool HistoryStore::containsText(const QString &text) const
{
    return m_index.contains(text);
}

QString HistoryStore::trayCaption(const QString &text)
{
    if (text.size() <= kCaptionLength)
        return text;
    return text.left(kCaptionLength) + QLatin1String("...");
}

int HistoryStore::appendEntry(const QString &text)
{
    if (isFull())
        return -1;
    // The line is complete before the list sees it: one insertion, no changes after.
    auto *line = new QListWidgetItem;
    line->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    line->setCheckState(Qt::Unchecked);
    setLineName(*line, text);
    m_list.addItem(line);
    const int index = count() - 1;
    m_content[index] = text;
    indexAdd(text);

    auto *item = new QAction(trayCaption(text), &m_menu);
    // Element numbers never change: items are only ever taken from the end.
    item->setData(int(m_mnulista.size()));
    m_menu.insertAction(&m_insertBefore, item);
    m_mnulista.push_back(item);

    // A current line that is not selected does not count: the buttons act on
    // the line the user sees selected.
    if (m_list.selectionModel()->hasSelection() && m_buttons)
        m_buttons->setSelectionButtonsEnabled(true);
    changed();
    return index;
}

QString HistoryStore::readContent(int index) const
{
    return m_content.at(index);
}

QString HistoryStore::name(int index) const
{
    return m_list.item(index)->text();
}

bool HistoryStore::isChecked(int index) const
{
    return m_list.item(index)->checkState() == Qt::Checked;
}

void HistoryStore::updateEntry(int index, const QString &name, const QString &content)
{
    indexRemove(m_content[index]);
    m_content[index] = content;
    indexAdd(content);
    setLineName(*m_list.item(index), name);
    m_mnulista[index + 1]->setText(renamedCaption(name));
    changed();
}

void HistoryStore::removeEntryAt(int index)
{
    const int n = count();
    if (index < 0 || index >= n)
        return;
    indexRemove(m_content[index]);
    for (int j = index; j < n; ++j)
        m_content[j] = m_content[j + 1];
    for (int k = index + 1; k < n; ++k)
        m_mnulista[k]->setText(m_mnulista[k + 1]->text());
    m_content[n] = QString();
    delete m_mnulista.back();
    m_mnulista.pop_back();
    delete m_list.takeItem(index);
    // After a removal no line is selected, whichever line was.
    m_list.setCurrentRow(-1);
    if (count() == 0 && m_buttons)
        m_buttons->setSelectionButtonsEnabled(false);
    changed();
}

void HistoryStore::clear()
{
    while (m_mnulista.size() > 1) {
        delete m_mnulista.back();
        m_mnulista.pop_back();
    }
    m_list.clear();
    m_index.clear();
    changed();
}

QAction *HistoryStore::mnulista(int element) const
{
    return m_mnulista.at(element);
}

void HistoryStore::indexAdd(const QString &content)
{
    ++m_index[content];
}

void HistoryStore::indexRemove(const QString &content)
{
    const auto it = m_index.find(content);
    if (it != m_index.end() && --it.value() == 0)
        m_index.erase(it);
}

void HistoryStore::setLineName(QListWidgetItem &line, const QString &name)
{
    line.setText(name);
    // Assistive tools get the text itself, but never megabytes of it.
    constexpr int kAccessibleLength = 1000;
    line.setData(Qt::AccessibleTextRole, name.size() <= kAccessibleLength
                                             ? name
                                             : name.left(kAccessibleLength) + QChar(0x2026));
}

void HistoryStore::changed()
{
    ++m_revision;
    if (m_onChange)
        m_onChange();
}
