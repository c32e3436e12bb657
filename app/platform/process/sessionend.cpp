// SPDX-License-Identifier: GPL-3.0-or-later
#include "sessionend.h"

#include "unixsignalwatcher.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>

SessionEnd::SessionEnd(QGuiApplication &app, QObject *parent)
    : QObject(parent), m_signals(new UnixSignalWatcher({SIGTERM, SIGHUP, SIGINT}, this))
{
    connect(m_signals, &UnixSignalWatcher::received, this, &SessionEnd::endRequested);
    // A session manager's "die", like any other quit, arrives as a Quit event
    // that would close the windows one by one: the program ends before that.
    app.installEventFilter(this);
#ifndef QT_NO_SESSIONMANAGER
    connect(&app, &QGuiApplication::commitDataRequest, this, &SessionEnd::saveRequested,
            Qt::DirectConnection);
    // The login's autostart entry starts the program; a restored session
    // would start it a second time.
    connect(
        &app, &QGuiApplication::saveStateRequest, this,
        [](QSessionManager &manager) { manager.setRestartHint(QSessionManager::RestartNever); },
        Qt::DirectConnection);
#endif
}

SessionEnd::~SessionEnd() = default;

bool SessionEnd::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance())
        Q_EMIT endRequested();
    return QObject::eventFilter(watched, event);
}
