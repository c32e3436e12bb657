// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

class SingleInstance;

// The freedesktop application interface on the session bus: how a second
// start, or the desktop, asks the running program to show itself or to run
// one of its actions.
class ApplicationAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    explicit ApplicationAdaptor(SingleInstance &instance);

public Q_SLOTS:
    void Activate(const QVariantMap &platform_data, const QDBusMessage &message);
    void Open(const QStringList &uris, const QVariantMap &platform_data,
              const QDBusMessage &message);
    void ActivateAction(const QString &action_name, const QVariantList &parameter,
                        const QVariantMap &platform_data, const QDBusMessage &message);

private:
    // True, with the error sent, when the program no longer takes requests.
    bool refused(const QDBusMessage &message);
    void reply(const QDBusMessage &message, const QString &errorName, const QString &text);

    SingleInstance &m_instance;
};
