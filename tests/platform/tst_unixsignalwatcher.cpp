// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "unixsignalwatcher.h"

#include <QSignalSpy>
#include <QTest>
#include <sys/wait.h>
#include <unistd.h>

// How a start reads its arguments and how it learns that it must end.
class TestUnixSignalWatcher : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void signalArrivesInTheEventLoop();
    void secondSignalEndsAtOnce();
    void handlersAreRestored();
    void commandLine_data();
    void commandLine();
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

void TestUnixSignalWatcher::handlersAreRestored()
{
    struct sigaction before = {};
    ::sigaction(SIGINT, nullptr, &before);
    {
        UnixSignalWatcher watcher({SIGINT});
        struct sigaction during = {};
        ::sigaction(SIGINT, nullptr, &during);
        QVERIFY(during.sa_handler != before.sa_handler);
    }
    struct sigaction after = {};
    ::sigaction(SIGINT, nullptr, &after);
    QVERIFY(after.sa_handler == before.sa_handler);
}

void TestUnixSignalWatcher::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("request"); // h(elp) v(ersion) s(how) m(enu)
    QTest::newRow("none") << QStringList() << QString() << QString();
    QTest::newRow("show and menu") << QStringList{"--menu", "--show"} << QString() << "sm";
    QTest::newRow("short help") << QStringList{"-h"} << QString() << "h";
    QTest::newRow("version") << QStringList{"--version"} << QString() << "v";
    QTest::newRow("unknown long") << QStringList{"--show", "--menù"}
                                  << QStringLiteral("opzione sconosciuta «--menù»") << QString();
    QTest::newRow("unknown short")
        << QStringList{"-x"} << QStringLiteral("opzione sconosciuta «-x»") << QString();
    QTest::newRow("a word") << QStringList{"testo"} << QStringLiteral("argomento inatteso «testo»")
                            << QString();
}

void TestUnixSignalWatcher::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    QFETCH(QString, request);
    const CommandLine line = CommandLine::parse(QStringList{"scrivel"} + arguments);
    QCOMPARE(line.error(), error);
    QString asked;
    for (const auto &[flag, letter] : {std::pair{line.help(), 'h'},
                                       {line.version(), 'v'},
                                       {line.show(), 's'},
                                       {line.menu(), 'm'}}) {
        if (flag)
            asked += QLatin1Char(letter);
    }
    QCOMPARE(asked, request);
}

QTEST_GUILESS_MAIN(TestUnixSignalWatcher)
#include "tst_unixsignalwatcher.moc"
