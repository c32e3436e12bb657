// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QGuiApplication;
class UnixSignalWatcher;

// Tells the program when it must end, or keep its data, with nobody there to
// answer a question: at the end of the desktop session, on SIGTERM, SIGHUP
// and SIGINT, and whenever the application is told to quit.
class SessionEnd : public QObject
{
    Q_OBJECT
public:
    explicit SessionEnd(QGuiApplication &app, QObject *parent = nullptr);
    ~SessionEnd() override;

Q_SIGNALS:
    // End now, in order: save, remove the tray icon, quit.
    void endRequested();
    // The session manager asks for the data to be saved; the session may go
    // on (a checkpoint) or end right after.
    void saveRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    UnixSignalWatcher *m_signals = nullptr;
};
