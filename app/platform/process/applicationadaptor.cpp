// SPDX-License-Identifier: GPL-3.0-or-later
#include "applicationadaptor.h"

#include "singleinstance.h"

#include <QDBusConnection>

ApplicationAdaptor::ApplicationAdaptor(SingleInstance &instance)
    : QDBusAbstractAdaptor(&instance), m_instance(instance)
{}

void ApplicationAdaptor::Activate(const QVariantMap & /*platform_data*/)
{
    Q_EMIT m_instance.activated();
}

void ApplicationAdaptor::Open(const QStringList & /*uris*/, const QVariantMap &platform_data)
{
    // Nothing to open: the history is not kept in files.
    Activate(platform_data);
}

void ApplicationAdaptor::ActivateAction(const QString &action_name,
                                        const QVariantList & /*parameter*/,
                                        const QVariantMap & /*platform_data*/,
                                        const QDBusMessage &message)
{
    if (!SingleInstance::isKnownAction(action_name)) {
        message.setDelayedReply(true);
        m_instance.bus().send(message.createErrorReply(
            QDBusError::InvalidArgs, QStringLiteral("unknown action: %1").arg(action_name)));
        return;
    }
    Q_EMIT m_instance.actionRequested(action_name);
}
