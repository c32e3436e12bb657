// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notifyicondata.h"
#include "trayshell.h"

#include <QList>
#include <QObject>
#include <functional>
#include <memory>

class NotifierBus;
class StatusNotifierShell;
class StatusNotifierWatch;

/// The desktop's notification area as it is at each moment: StatusNotifierItems while a host
/// shows them on the bus, otherwise the classic tray where one can show icons, otherwise
/// none, where the icons wait for a host. Every icon is in one of them at a time and moves
/// when a host comes or goes. A new icon goes anywhere but to a host only once the bus has
/// confirmed that no host is there.
class NotificationAreaShell : public QObject, public TrayShell
{
    Q_OBJECT
public:
    /// Makes the classic tray's shell when it is first wanted, or returns nullptr where that
    /// tray cannot show icons.
    using ClassicFactory = std::function<std::unique_ptr<TrayShell>()>;

    NotificationAreaShell(const NotifierBus &bus, ClassicFactory classic,
                          QObject *parent = nullptr);
    ~NotificationAreaShell() override;

    bool add(const NotifyIconData &data) override;
    bool modify(const NotifyIconData &data) override;
    bool remove(const NotifyIconData &data) override;

    /// The shell that holds the icons now: items(), the classic shell, or nullptr.
    TrayShell *holder() const { return m_holder; }
    const StatusNotifierShell &items() const { return *m_items; }

private:
    struct Icon
    {
        // All the fields the icon was given, to add it again elsewhere.
        NotifyIconData data;
        // In the holder's keeping.
        bool placed = false;
    };

    TrayShell *wanted();
    // Brings the holder in line with the bus and gives it every icon.
    void settle();
    qsizetype find(const QObject *window, quint32 id) const;

    std::unique_ptr<StatusNotifierShell> m_items;
    std::unique_ptr<StatusNotifierWatch> m_watch;
    ClassicFactory m_makeClassic;
    std::unique_ptr<TrayShell> m_classic;
    bool m_classicMade = false;
    TrayShell *m_holder = nullptr;
    QList<Icon> m_icons;
};
