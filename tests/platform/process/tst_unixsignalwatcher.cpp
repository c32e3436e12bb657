// SPDX-License-Identifier: GPL-3.0-or-later
#include "unixsignalwatcher.h"

#include <QSignalSpy>
#include <QTest>
#include <sys/wait.h>
#include <unistd.h>

class TestUnixSignalWatcher : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void signalArrivesInTheEventLoop();
    void secondSignalEndsAtOnce();
};

void TestUnixSignalWatcher::signalArrivesInTheEventLoop()
{
    UnixSignalWatcher watcher({SIGHUP, SIGTERM});
    QSignalSpy spy(&watcher, &UnixSignalWatcher::received);
    ::raise(SIGHUP);
    // Nothing runs inside the handler: the signal is reported by the event loop.
    QCOMPARE(spy.count(), 0);
    QVERIFY(spy.wait(2000));
    QCOMPARE(spy.takeFirst().at(0).toInt(), SIGHUP);
}

void TestUnixSignalWatcher::secondSignalEndsAtOnce()
{
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // The first signal is queued for an event loop that never runs (a
        // hung shutdown); the second, of another kind, must end the process.
        UnixSignalWatcher watcher({SIGTERM, SIGINT});
        ::raise(SIGTERM);
        ::raise(SIGINT);
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFSIGNALED(status), "the process outlived its second signal");
    QCOMPARE(WTERMSIG(status), SIGINT);
}

QTEST_GUILESS_MAIN(TestUnixSignalWatcher)
#include "tst_unixsignalwatcher.moc"
