// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <csignal>

class QSocketNotifier;

// Turns Unix signals into a Qt signal on the thread that created the watcher.
//
// The handler only writes the signal's number to a pipe; everything else runs
// later in the event loop. The second signal to arrive, of any of the watched
// kinds, is not queued: it ends the process at once with its default action,
// so a shutdown that hangs can still be interrupted. Only one watcher may
// exist at a time; destroying it restores the previous handlers.
class UnixSignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit UnixSignalWatcher(const QList<int> &signalNumbers, QObject *parent = nullptr);
    ~UnixSignalWatcher() override;

Q_SIGNALS:
    void received(int signalNumber);

private:
    static void handle(int signalNumber);
    void readPending();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
    QList<std::pair<int, struct sigaction>> m_previous;
};
