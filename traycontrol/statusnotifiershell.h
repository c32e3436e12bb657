// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "iconwindow.h"
#include "notifierbus.h"
#include "trayshell.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <memory>
#include <vector>

class StatusNotifierItem;

/// The notification area met by StatusNotifierItem hosts: one item on the bus per
/// (window, id), registered with the bus's watcher.
///
/// The hosts' methods become the mouse messages of a click: Activate gives 0x0201 then
/// 0x0202, ContextMenu (or a host opening the item's menu) 0x0204 then 0x0205,
/// SecondaryActivate 0x0207 then 0x0208; Scroll gives none. They reach the icon's window once
/// the method call has been answered, with the position the host passed. Hosts never report
/// the pointer resting on an item.
class StatusNotifierShell : public QObject, public TrayShell
{
    Q_OBJECT
public:
    explicit StatusNotifierShell(const NotifierBus &bus, QObject *parent = nullptr);
    ~StatusNotifierShell() override;

    bool add(const NotifyIconData &data) override;
    bool modify(const NotifyIconData &data) override;
    bool remove(const NotifyIconData &data) override;

    /// Registers every item again, with a watcher that has newly taken the bus name.
    void registerAll();
    /// The items, in the order they were added.
    QList<const StatusNotifierItem *> items() const;

private:
    struct Entry
    {
        IconWindow owner;
        quint64 serial = 0;
        std::unique_ptr<StatusNotifierItem> item;
    };

    Entry *find(const QObject *window, quint32 id);
    Entry *findSerial(quint64 serial);
    static void apply(Entry &entry, const NotifyIconData &data);
    void deliver(quint64 serial, const QList<quint32> &mouseMessages, QPoint pos);

    NotifierBus m_bus;
    std::vector<Entry> m_entries;
    quint64 m_serials = 0;
};
