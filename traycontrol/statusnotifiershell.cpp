// SPDX-License-Identifier: GPL-3.0-or-later
#include "statusnotifiershell.h"

#include "notifyicondata.h"
#include "statusnotifieritem.h"
#include "windowmessageevent.h"

#include <QCoreApplication>
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
    entry.window = data.hWnd;
    entry.id = data.uID;
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
    if (data.uFlags & NotifyIconData::MessageFlag) {
        entry.notifies = true;
        entry.callbackMessage = data.uCallbackMessage;
    }
    if (data.uFlags & NotifyIconData::IconFlag)
        entry.item->setIcon(data.hIcon);
    if (data.uFlags & NotifyIconData::TipFlag)
        entry.item->setToolTip(NotifyIconData::tipText(data.szTip));
}

StatusNotifierShell::Entry *StatusNotifierShell::find(const QObject *window, quint32 id)
{
    if (!window)
        return nullptr;
    const auto at = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry &entry) {
        return entry.window == window && entry.id == id;
    });
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
        if (!entry || !entry->notifies || !entry->window)
            return;
        WindowMessageEvent message(entry->callbackMessage, entry->id, qintptr(mouseMessage), pos);
        QCoreApplication::sendEvent(entry->window, &message);
        if (!self)
            return;
    }
}
