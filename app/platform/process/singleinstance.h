// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QStringList>

// One running program per desktop session, through a well-known name on the
// session bus.
//
// The first start owns the name and answers the freedesktop application
// interface; a later start passes its requests to the first and ends. A
// program that has begun to end refuses requests, and a start that meets
// one waits for it to leave and runs in its place. Without a session bus
// every start runs on its own.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // What a start does after claim().
    enum class Role {
        Run,       // this process runs the program
        HandedOver // the running program took the requests: end now, with success
    };

    // The actions a start can ask of the running program.
    static const QString ShowAction;
    static const QString MenuAction;
    // The error a program that is ending answers every request with.
    static const QString EndingError;

    SingleInstance(const QDBusConnection &bus, const QString &service, const QString &path,
                   QObject *parent = nullptr);

    // Claims the name; when another process holds it, asks that one for
    // each of actions in turn (none: just show yourself) and returns
    // HandedOver once it took them. When the holder is ending, waits for it
    // to leave and claims the name again. Without a session bus, or when the
    // bus or the running program fails to answer, this one runs on its own
    // (the failure's reason in error()), queued for the name.
    Role claim(const QStringList &actions);
    // Only asks the running program for actions, without claiming the name:
    // true when it took them.
    bool handOver(const QStringList &actions);
    const QString &error() const { return m_error; }
    QDBusConnection bus() const { return m_bus; }

    // From now on every request is refused: the program is ending.
    void refuseRequests();
    bool refusesRequests() const { return m_refusing; }
    // Gives the name up, so that the next start runs at once.
    void release();

    static bool isKnownAction(const QString &action);

Q_SIGNALS:
    void activated();
    void actionRequested(const QString &action);

private:
    enum class Answer { Taken, Ending, Gone, Silent };
    Answer ask(const QString &owner, const QStringList &actions);
    // Waits until owner no longer holds the name; false when it still does
    // at the deadline.
    bool waitUntilGone(const QString &owner, const QDeadlineTimer &deadline);
    void runQueued(const QString &reason);

    QDBusConnection m_bus;
    QString m_service;
    QString m_path;
    QString m_error;
    bool m_refusing = false;
};
