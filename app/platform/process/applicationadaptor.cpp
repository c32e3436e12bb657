// SPDX-License-Identifier: GPL-3.0-or-later
#include "applicationadaptor.h"

#include "singleinstance.h"

#include <QDBusConnection>

ApplicationAdaptor::ApplicationAdaptor(SingleInstance &instance)
    : QDBusAbstractAdaptor(&instance), m_instance(instance)
{}

void ApplicationAdaptor::Activate(const QVariantMap & /*platform_data*/,
                                  const QDBusMessage &message)
{
    if (refused(message))
        return;
    Q_EMIT m_instance.activated();
}

void ApplicationAdaptor::Open(const QStringList & /*uris*/, const QVariantMap &platform_data,
                              const QDBusMessage &message)
{
    // Nothing to open: the history is not kept in files.
    Activate(platform_data, message);
}

void ApplicationAdaptor::ActivateAction(const QString &action_name,
                                        const QVariantList & /*parameter*/,
                                        const QVariantMap & /*platform_data*/,
                                        const QDBusMessage &message)
{
    if (refused(message))
        return;
    if (!SingleInstance::isKnownAction(action_name)) {
        reply(message, QDBusError::errorString(QDBusError::InvalidArgs),
              QStringLiteral("unknown action: %1").arg(action_name));
        return;
    }
    Q_EMIT m_instance.actionRequested(action_name);
}

bool ApplicationAdaptor::refused(const QDBusMessage &message)
{
    // A program on its way out would take a request and then end: the
    // caller is told, and runs in its place.
    if (!m_instance.refusesRequests())
        return false;
    reply(message, SingleInstance::EndingError, QStringLiteral("Scrivel is ending"));
    return true;
}

void ApplicationAdaptor::reply(const QDBusMessage &message, const QString &errorName,
                               const QString &text)
{
    message.setDelayedReply(true);
    m_instance.bus().send(message.createErrorReply(errorName, text));
}
