// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>

class NotifierBus;
class QDBusServiceWatcher;

/// Whether StatusNotifierItems can show on a bus: a watcher owns the name
/// org.kde.StatusNotifierWatcher and reports a registered host. Follows watchers and hosts
/// that come and go, asking the watcher without waiting for its answer.
class StatusNotifierWatch : public QObject
{
    Q_OBJECT
public:
    explicit StatusNotifierWatch(const NotifierBus &bus, QObject *parent = nullptr);
    ~StatusNotifierWatch() override;

    /// False until the first answer (or the lack of a bus) is known.
    bool known() const { return m_known; }
    bool hostRegistered() const { return m_hostRegistered; }

public Q_SLOTS:
    /// Asks the watcher again; answered() follows.
    void refresh();

Q_SIGNALS:
    /// An answer came (hostRegistered() may be as before).
    void answered();
    /// Another watcher took over the name while a host stayed registered: the items shown
    /// must register with it again.
    void watcherReplaced();

private:
    void ask(bool replaced);
    void ownerChanged(const QString &newOwner);
    void settle(bool hostRegistered, bool replaced);

    QDBusConnection m_connection;
    QDBusServiceWatcher *m_names = nullptr;
    bool m_known = false;
    bool m_hostRegistered = false;
    // Only the answer to the latest question counts.
    quint64 m_asked = 0;
};
