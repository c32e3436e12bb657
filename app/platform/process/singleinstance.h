// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

// One running program per desktop session, through a well-known name on the
// session bus.
//
// The first start owns the name and answers the freedesktop application
// interface; a later start passes its request to the first and ends. Without
// a session bus every start runs on its own.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // What a start does after claim().
    enum class Role {
        Run,       // this process runs the program
        HandedOver // the running program took the request: end now, with success
    };

    // The actions a start can ask of the running program.
    static const QString ShowAction;
    static const QString MenuAction;

    SingleInstance(const QDBusConnection &bus, const QString &service, const QString &path,
                   QObject *parent = nullptr);

    // Claims the name; when another process holds it, asks that one for
    // action (empty: just show yourself) and returns HandedOver. Without a
    // session bus, or when the bus or the running program fails to answer,
    // this one runs on its own (the failure's reason in error()).
    Role claim(const QString &action);
    const QString &error() const { return m_error; }
    QDBusConnection bus() const { return m_bus; }

    static bool isKnownAction(const QString &action);

Q_SIGNALS:
    void activated();
    void actionRequested(const QString &action);

private:
    bool handOver(const QString &action);

    QDBusConnection m_bus;
    QString m_service;
    QString m_path;
    QString m_error;
};
