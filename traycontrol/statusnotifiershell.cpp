// SPDX-License-Identifier: GPL-3.0-or-later
#include "statusnotifiershell.h"

#include "notifyicondata.h"
#include "statusnotifieritem.h"

#include <algorithm>

StatusNotifierShell::StatusNotifierShell(const NotifierBus &bus, QObject *parent)
    : QObject(parent), m_bus(bus)
{}

StatusNotifierShell::~StatusNotifierShell() = default;

bool StatusNotifierShell::add(const NotifyIconData &data)
{
    if (!data.hWnd || find(data.hWnd, data.uID))
        return false;
    Entry entry;
    entry.owner = IconWindow::of(data);
    entry.serial = ++m_serials;
    entry.item = std::make_unique<StatusNotifierItem>(
        m_bus, [this, serial = entry.serial](const QList<quint32> &mouseMessages, QPoint pos) {
            deliver(serial, mouseMessages, pos);
        });
    apply(entry, data);
    entry.item->registerWithWatcher();
    m_entries.push_back(std::move(entry));
    return true;
}

bool StatusNotifierShell::modify(const NotifyIconData &data)
{
    Entry *entry = find(data.hWnd, data.uID);
    if (!entry)
        return false;
    apply(*entry, data);
    return true;
}

bool StatusNotifierShell::remove(const NotifyIconData &data)
{
    Entry *entry = find(data.hWnd, data.uID);
    if (!entry)
        return false;
    m_entries.erase(m_entries.begin() + (entry - m_entries.data()));
    return true;
}

void StatusNotifierShell::registerAll()
{
    for (const Entry &entry : m_entries)
        entry.item->registerWithWatcher();
}

QList<const StatusNotifierItem *> StatusNotifierShell::items() const
{
    QList<const StatusNotifierItem *> items;
    for (const Entry &entry : m_entries)
        items.append(entry.item.get());
    return items;
}

void StatusNotifierShell::apply(Entry &entry, const NotifyIconData &data)
{
    entry.owner.apply(data);
    if (data.uFlags & NotifyIconData::IconFlag)
        entry.item->setIcon(data.hIcon);
    if (data.uFlags & NotifyIconData::TipFlag)
        entry.item->setToolTip(NotifyIconData::tipText(data.szTip));
}

StatusNotifierShell::Entry *StatusNotifierShell::find(const QObject *window, quint32 id)
{
    const auto at = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const Entry &entry) { return entry.owner.is(window, id); });
    return at == m_entries.end() ? nullptr : &*at;
}

StatusNotifierShell::Entry *StatusNotifierShell::findSerial(quint64 serial)
{
    const auto at = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const Entry &entry) { return entry.serial == serial; });
    return at == m_entries.end() ? nullptr : &*at;
}

void StatusNotifierShell::deliver(quint64 serial, const QList<quint32> &mouseMessages, QPoint pos)
{
    // A handler may remove the icon, end its window or end this shell.
    const QPointer<StatusNotifierShell> self(this);
    for (const quint32 mouseMessage : mouseMessages) {
        const Entry *entry = findSerial(serial);
        // A copy: the handler may change the entries.
        const IconWindow owner = entry ? entry->owner : IconWindow();
        if (!owner.send(mouseMessage, pos) || !self)
            return;
    }
}
