// SPDX-License-Identifier: GPL-3.0-or-later
#include "statusnotifierwatch.h"

#include "notifierbus.h"
#include "statusnotifiertypes.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace {

// A watcher that does not answer in this time counts as having no host.
constexpr int kAnswerMs = 500;

} // namespace

StatusNotifierWatch::StatusNotifierWatch(const NotifierBus &bus, QObject *parent)
    : QObject(parent), m_connection(bus.open(QStringLiteral("watch")))
{
    if (!m_connection.isConnected()) {
        m_known = true;
        return;
    }
    m_names = new QDBusServiceWatcher(StatusNotifier::WatcherService, m_connection,
                                      QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_names, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) {
                ownerChanged(newOwner);
            });
    for (const char *signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        m_connection.connect(StatusNotifier::WatcherService, StatusNotifier::WatcherPath,
                             StatusNotifier::WatcherInterface, QString::fromLatin1(signal), this,
                             SLOT(refresh()));
    refresh();
}

StatusNotifierWatch::~StatusNotifierWatch()
{
    delete m_names;
    QDBusConnection::disconnectFromBus(m_connection.name());
}

void StatusNotifierWatch::ownerChanged(const QString &newOwner)
{
    if (newOwner.isEmpty())
        settle(false, false);
    else
        ask(true);
}

void StatusNotifierWatch::refresh()
{
    ask(false);
}

void StatusNotifierWatch::ask(bool replaced)
{
    if (!m_connection.isConnected()) {
        // Without a bus the answer is known at once; it still comes after the question.
        QMetaObject::invokeMethod(
            this, [this] { settle(false, false); }, Qt::QueuedConnection);
        return;
    }
    QDBusMessage get = QDBusMessage::createMethodCall(
        StatusNotifier::WatcherService, StatusNotifier::WatcherPath,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << StatusNotifier::WatcherInterface << QStringLiteral("IsStatusNotifierHostRegistered");
    // Asking must not start a watcher that the bus could start on demand.
    get.setAutoStartService(false);
    const quint64 question = ++m_asked;
    auto *pending = new QDBusPendingCallWatcher(m_connection.asyncCall(get, kAnswerMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, question, replaced](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                if (question != m_asked)
                    return;
                const QDBusPendingReply<QDBusVariant> reply = *call;
                settle(reply.isValid() && reply.value().variant().toBool(), replaced);
            });
}

void StatusNotifierWatch::settle(bool hostRegistered, bool replaced)
{
    ++m_asked; // answers still on their way are out of date
    const bool hostStayed = m_known && m_hostRegistered && hostRegistered;
    m_known = true;
    m_hostRegistered = hostRegistered;
    if (replaced && hostStayed)
        Q_EMIT watcherReplaced();
    Q_EMIT answered();
}
