// SPDX-License-Identifier: GPL-3.0-or-later
#include "notifierbus.h"

#include <atomic>

QDBusConnection NotifierBus::open(const QString &purpose) const
{
    static std::atomic<int> opened{0};
    const QString name = QStringLiteral("vandrillo-%1-%2").arg(purpose).arg(++opened);
    return m_address.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, name)
                               : QDBusConnection::connectToBus(m_address, name);
}
