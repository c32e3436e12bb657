// SPDX-License-Identifier: GPL-3.0-or-later
#include "singleinstance.h"

#include "applicationadaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QThread>

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.Application");
constexpr int kHandOverTimeoutMs = 2000;
// How long a start waits for a program that is ending to leave: its last
// step, writing the settings, takes well under a second with any real file.
constexpr int kEndingPatienceMs = 10000;
constexpr int kOwnerPollMs = 20;

QDBusMessage requestFor(const QString &destination, const QString &path, const QString &action)
{
    if (action.isEmpty()) {
        QDBusMessage call = QDBusMessage::createMethodCall(destination, path, kInterface,
                                                           QStringLiteral("Activate"));
        call << QVariantMap();
        return call;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(destination, path, kInterface,
                                                       QStringLiteral("ActivateAction"));
    call << action << QVariantList() << QVariantMap();
    return call;
}

} // namespace

const QString SingleInstance::ShowAction = QStringLiteral("show");
const QString SingleInstance::MenuAction = QStringLiteral("menu");
const QString SingleInstance::EndingError = QStringLiteral("org.scrivel.Scrivel.Error.Ending");

SingleInstance::SingleInstance(const QDBusConnection &bus, const QString &service,
                               const QString &path, QObject *parent)
    : QObject(parent), m_bus(bus), m_service(service), m_path(path)
{
    new ApplicationAdaptor(*this);
}

bool SingleInstance::isKnownAction(const QString &action)
{
    return action == ShowAction || action == MenuAction;
}

SingleInstance::Role SingleInstance::claim(const QStringList &actions)
{
    if (!m_bus.isConnected())
        return Role::Run;
    // The object answers before the name is visible, so a caller that sees
    // the name always finds it.
    if (!m_bus.registerObject(m_path, this, QDBusConnection::ExportAdaptors)) {
        m_error = QStringLiteral("cannot export %1").arg(m_path);
        return Role::Run;
    }
    QDBusConnectionInterface *bus = m_bus.interface();
    const QDeadlineTimer deadline(kEndingPatienceMs);
    for (;;) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
            bus->registerService(m_service, QDBusConnectionInterface::DontQueueService,
                                 QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid()) {
            m_bus.unregisterObject(m_path);
            m_error = QStringLiteral("cannot own %1: %2").arg(m_service, reply.error().message());
            return Role::Run;
        }
        if (reply.value() == QDBusConnectionInterface::ServiceRegistered) {
            m_error.clear();
            return Role::Run;
        }
        // Asked by its unique name, the holder seen here is the one that answers.
        const QString owner = bus->serviceOwner(m_service).value();
        const Answer answer = owner.isEmpty() ? Answer::Gone : ask(owner, actions);
        if (answer == Answer::Taken) {
            m_bus.unregisterObject(m_path);
            return Role::HandedOver;
        }
        if (answer == Answer::Silent) {
            runQueued(m_error);
            return Role::Run;
        }
        // Ending, or gone already: once it has left, the name is claimed again.
        if (deadline.hasExpired() || !waitUntilGone(owner, deadline)) {
            runQueued(QStringLiteral("the running instance is ending but has not left"));
            return Role::Run;
        }
    }
}

bool SingleInstance::handOver(const QStringList &actions)
{
    return m_bus.isConnected() && ask(m_service, actions) == Answer::Taken;
}

SingleInstance::Answer SingleInstance::ask(const QString &owner, const QStringList &actions)
{
    const QStringList requests = actions.isEmpty() ? QStringList{QString()} : actions;
    for (const QString &action : requests) {
        const QDBusMessage reply =
            m_bus.call(requestFor(owner, m_path, action), QDBus::Block, kHandOverTimeoutMs);
        if (reply.type() != QDBusMessage::ErrorMessage)
            continue;
        m_error =
            QStringLiteral("the running instance did not answer: %1").arg(reply.errorMessage());
        // Even after some of the requests were taken: the program that took
        // them is on its way out, and this start runs them itself.
        if (reply.errorName() == EndingError)
            return Answer::Ending;
        const QString holder = m_bus.interface()->serviceOwner(m_service).value();
        return holder == owner || owner == m_service ? Answer::Silent : Answer::Gone;
    }
    return Answer::Taken;
}

bool SingleInstance::waitUntilGone(const QString &owner, const QDeadlineTimer &deadline)
{
    while (!owner.isEmpty() && m_bus.interface()->serviceOwner(m_service).value() == owner) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(kOwnerPollMs);
    }
    return true;
}

void SingleInstance::runQueued(const QString &reason)
{
    m_error = reason;
    // In the queue for the name, this run takes it over once the holder leaves.
    m_bus.interface()->registerService(m_service, QDBusConnectionInterface::QueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
}

void SingleInstance::refuseRequests()
{
    m_refusing = true;
}

void SingleInstance::release()
{
    if (!m_bus.isConnected())
        return;
    m_bus.interface()->unregisterService(m_service);
    m_bus.unregisterObject(m_path);
}
