// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QString>

/// A bus as the notification area uses it: the desktop session's, or one given by address.
/// Each user opens a connection of its own and ends it with QDBusConnection::disconnectFromBus.
class NotifierBus
{
public:
    static NotifierBus session() { return NotifierBus(QString()); }
    static NotifierBus at(const QString &address) { return NotifierBus(address); }

    /// A new connection, named after `purpose` and a number unique in the process.
    QDBusConnection open(const QString &purpose) const;

private:
    explicit NotifierBus(const QString &address) : m_address(address) {}
    QString m_address;
};
