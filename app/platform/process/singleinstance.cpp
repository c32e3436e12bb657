// SPDX-License-Identifier: GPL-3.0-or-later
#include "singleinstance.h"

#include "applicationadaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.Application");
constexpr int kHandOverTimeoutMs = 2000;

} // namespace

const QString SingleInstance::ShowAction = QStringLiteral("show");
const QString SingleInstance::MenuAction = QStringLiteral("menu");

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

SingleInstance::Role SingleInstance::claim(const QString &action)
{
    if (!m_bus.isConnected())
        return Role::Run;
    // The object answers before the name is visible, so a caller that sees
    // the name always finds it.
    if (!m_bus.registerObject(m_path, this, QDBusConnection::ExportAdaptors)) {
        m_error = QStringLiteral("cannot export %1").arg(m_path);
        return Role::Run;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_bus.interface()->registerService(m_service, QDBusConnectionInterface::DontQueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return Role::Run;
    m_bus.unregisterObject(m_path);
    if (!reply.isValid()) {
        m_error = QStringLiteral("cannot own %1: %2").arg(m_service, reply.error().message());
        return Role::Run;
    }
    return handOver(action) ? Role::HandedOver : Role::Run;
}

bool SingleInstance::handOver(const QString &action)
{
    QDBusMessage call = action.isEmpty()
                            ? QDBusMessage::createMethodCall(m_service, m_path, kInterface,
                                                             QStringLiteral("Activate"))
                            : QDBusMessage::createMethodCall(m_service, m_path, kInterface,
                                                             QStringLiteral("ActivateAction"));
    if (action.isEmpty())
        call << QVariantMap();
    else
        call << action << QVariantList() << QVariantMap();
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kHandOverTimeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        m_error =
            QStringLiteral("the running instance did not answer: %1").arg(reply.errorMessage());
        return false;
    }
    return true;
}
