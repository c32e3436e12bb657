// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboardfactory.h"
#include "clipboardownerprocess.h"
#include "clipboardtesting.h"
#include "stallmeter.h"
#include "x11clipboard.h"
#include "xvfbserver.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace std::chrono_literals;
using Status = Clipboard::Status;

namespace {

X11ReadLimits testLimits(qsizetype maxBytes = ClipText::kMaxBytes)
{
    return ClipboardTesting::shortLimits(maxBytes);
}

using ClipboardTesting::settle;

QByteArray largeUtf8Text(qsizetype bytes)
{
    QByteArray text;
    text.reserve(bytes + 64);
    for (int line = 0; text.size() < bytes; ++line)
        text += "Riga " + QByteArray::number(line) + ": città, perché, caffè ☕\n";
    return text;
}

} // namespace

class TestX11Clipboard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void readsOncePerCopy();
    void readAheadReadsEachChangeAtOnce();
    void readsText_data();
    void readsText();
    void offersWithoutUsableTextGiveEmptyText_data();
    void offersWithoutUsableTextGiveEmptyText();
    void largeTextArrivesIntactWithoutFreezing();
    void hungOwnerFailsWithinDeadlineAndRecovers();
    void stalledIncrementalTransferFails();
    void changeDuringReadIsReadAgain();
    void ownTextIsAnsweredLocally();
    void readNowWaitsForTheRead();
    void destructionDoesNotWaitForHungOwner();
    void factoryPicksTheX11ReaderOnXcb();

private:
    void startOwner(const QStringList &script, const QByteArray &xclipData,
                    const QString &xclipTarget = {});

    ClipboardOwnerProcess m_owner;
};

void TestX11Clipboard::cleanup()
{
    m_owner.stop();
}

void TestX11Clipboard::startOwner(const QStringList &script, const QByteArray &xclipData,
                                  const QString &xclipTarget)
{
    const bool started =
        script.isEmpty() ? m_owner.startXclip(xclipData, xclipTarget) : m_owner.startScript(script);
    QVERIFY2(started, qPrintable(m_owner.error()));
}

void TestX11Clipboard::readsOncePerCopy()
{
    X11Clipboard clipboard(testLimits());
    startOwner({}, "Città perché ☕");
    Clipboard::Reading reading = settle(clipboard);
    QCOMPARE(reading.status, Status::Ready);
    QCOMPARE(reading.text, QStringLiteral("Città perché ☕"));
    QCOMPARE(clipboard.readsStarted(), 1);

    // Unchanged clipboard: ticks reuse the reading.
    const quint64 serial = reading.serial;
    for (int tick = 0; tick < 20; ++tick) {
        QTest::qWait(10);
        reading = clipboard.poll();
        QCOMPARE(reading.status, Status::Ready);
        QCOMPARE(reading.serial, serial);
    }
    QCOMPARE(clipboard.readsStarted(), 1);

    startOwner({}, "seconda copia");
    reading = settle(clipboard);
    QCOMPARE(reading.text, QStringLiteral("seconda copia"));
    QVERIFY(reading.serial > serial);
    QCOMPARE(clipboard.readsStarted(), 2);
}

void TestX11Clipboard::readAheadReadsEachChangeAtOnce()
{
    X11Clipboard clipboard(testLimits());
    clipboard.setReadAhead(true);
    QTRY_COMPARE(clipboard.poll().status, Status::Ready);
    QCOMPARE(clipboard.readsStarted(), 1);
    startOwner({}, "letto subito");
    // Read without any poll, so the first poll finds the text ready.
    QTRY_COMPARE(clipboard.readsStarted(), 2);
    QTRY_COMPARE(clipboard.poll().text, QStringLiteral("letto subito"));
    QCOMPARE(clipboard.readsStarted(), 2);

    // A text replaced before the next poll is still handed to it.
    startOwner({}, "primo");
    QCOMPARE(clipboard.readNow().text, QStringLiteral("primo"));
    startOwner({}, "secondo");
    QCOMPARE(clipboard.readNow().text, QStringLiteral("secondo"));
    const Clipboard::Reading reading = clipboard.poll();
    QCOMPARE(reading.text, QStringLiteral("secondo"));
    QCOMPARE(reading.earlier, QList<QByteArray>{"primo"});
    QVERIFY(clipboard.poll().earlier.isEmpty());

    // Without read-ahead a change waits for the next poll.
    clipboard.setReadAhead(false);
    const int reads = clipboard.readsStarted();
    startOwner({}, "letto dopo");
    QTest::qWait(100);
    QCOMPARE(clipboard.readsStarted(), reads);
    QCOMPARE(settle(clipboard).text, QStringLiteral("letto dopo"));
    QCOMPARE(clipboard.readsStarted(), reads + 1);
}

void TestX11Clipboard::readsText_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QByteArray>("xclipData");
    QTest::addColumn<QString>("expected");

    const QString accented = QStringLiteral("Perché più caffè? ☕ €");
    QTest::newRow("UTF8_STRING") << QStringList() << accented.toUtf8() << accented;
    QTest::newRow("STRING is Latin-1")
        << QStringList{"--type", "STRING", "--text", "caffè", "--encoding", "latin-1"}
        << QByteArray() << QStringLiteral("caffè");
    QTest::newRow("text/plain utf-8 only")
        << QStringList{"--type", "text/plain;charset=utf-8", "--text", accented} << QByteArray()
        << accented;
    QTest::newRow("UTF8_STRING before STRING")
        << QStringList{"--type", "STRING", "--type", "UTF8_STRING", "--text", accented}
        << QByteArray() << accented;
    QTest::newRow("owner without TARGETS")
        << QStringList{"--no-targets", "--text", accented} << QByteArray() << accented;
    QTest::newRow("public password hint") << QStringList{"--hint", "public", "--text", "visibile"}
                                          << QByteArray() << QStringLiteral("visibile");
    QTest::newRow("NUL ends the text")
        << QStringList() << QByteArray("prima\0dopo", 10) << QStringLiteral("prima");
    QTest::newRow("invalid UTF-8") << QStringList()
                                   << QByteArray("a\xff"
                                                 "b")
                                   << QStringLiteral("a\uFFFDb");
    QTest::newRow("a path is a text") << QStringList() << QByteArray("/home/utente/foto.png")
                                      << QStringLiteral("/home/utente/foto.png");
    QTest::newRow("CR LF kept") << QStringList() << QByteArray("uno\r\ndue\r")
                                << QStringLiteral("uno\r\ndue\r");
    // Pieces of 7 bytes split the multi-byte characters.
    const QString repeated = accented.repeated(20);
    QTest::newRow("INCR in small pieces")
        << QStringList{"--incr", "7", "--text", repeated} << QByteArray() << repeated;
    QTest::newRow("INCR hint below the real size")
        << QStringList{"--incr", "100", "--incr-hint", "3", "--text", repeated} << QByteArray()
        << repeated;
}

void TestX11Clipboard::readsText()
{
    QFETCH(QStringList, script);
    QFETCH(QByteArray, xclipData);
    QFETCH(QString, expected);

    X11Clipboard clipboard(testLimits());
    startOwner(script, xclipData);
    const Clipboard::Reading reading = settle(clipboard);
    QCOMPARE(reading.status, Status::Ready);
    QCOMPARE(reading.text, expected);
}

void TestX11Clipboard::offersWithoutUsableTextGiveEmptyText_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QByteArray>("xclipData");
    QTest::addColumn<QString>("xclipTarget");
    QTest::addColumn<qsizetype>("maxBytes");

    const qsizetype noLimit = ClipText::kMaxBytes;
    const QString big = QString(QLatin1Char('x')).repeated(3000);
    QTest::newRow("no owner") << QStringList() << QByteArray() << QString() << noLimit;
    QTest::newRow("picture only") << QStringList() << QByteArray("\x89PNG\r\n\x1a\n")
                                  << QStringLiteral("image/png") << noLimit;
    QTest::newRow("owner refuses")
        << QStringList{"--refuse", "--text", "no"} << QByteArray() << QString() << noLimit;
    QTest::newRow("secret hint") << QStringList{"--hint", "secret", "--text", "hunter2"}
                                 << QByteArray() << QString() << noLimit;
    QTest::newRow("secret hint, INCR text")
        << QStringList{"--hint", "secret", "--incr", "4", "--text", "hunter2"} << QByteArray()
        << QString() << noLimit;
    QTest::newRow("files with their paths as text")
        << QStringList{"--type",        "UTF8_STRING", "--type",
                       "text/uri-list", "--text",      "file:///home/utente/foto.png"}
        << QByteArray() << QString() << noLimit;
    QTest::newRow("files, file manager's list")
        << QStringList{"--type", "UTF8_STRING",
                       "--type", "x-special/gnome-copied-files",
                       "--text", "copy\nfile:///home/utente/foto.png"}
        << QByteArray() << QString() << noLimit;
    QTest::newRow("too large in one piece")
        << QStringList() << big.toUtf8() << QString() << qsizetype(1000);
    QTest::newRow("too large by INCR size") << QStringList{"--incr", "500", "--text", big}
                                            << QByteArray() << QString() << qsizetype(1000);
    QTest::newRow("too large, INCR size understated")
        << QStringList{"--incr", "300", "--incr-hint", "10", "--text", big} << QByteArray()
        << QString() << qsizetype(1000);
}

void TestX11Clipboard::offersWithoutUsableTextGiveEmptyText()
{
    QFETCH(QStringList, script);
    QFETCH(QByteArray, xclipData);
    QFETCH(QString, xclipTarget);
    QFETCH(qsizetype, maxBytes);

    X11Clipboard clipboard(testLimits(maxBytes));
    if (!script.isEmpty() || !xclipData.isEmpty())
        startOwner(script, xclipData, xclipTarget);
    const Clipboard::Reading reading = settle(clipboard);
    QCOMPARE(reading.status, Status::Ready);
    QCOMPARE(reading.text, QString());
    QCOMPARE(clipboard.readsStarted(), 1);
}

void TestX11Clipboard::largeTextArrivesIntactWithoutFreezing()
{
    const QByteArray text = largeUtf8Text(10 * 1024 * 1024);
    X11Clipboard clipboard(testLimits());
    startOwner({}, text); // xclip sends this much incrementally
    StallMeter stalls;
    const Clipboard::Reading reading = settle(clipboard, 30000);
    QCOMPARE(reading.status, Status::Ready);
    QVERIFY2(reading.text == QString::fromUtf8(text), "the text arrived damaged");
    QCOMPARE(clipboard.readsStarted(), 1);
    QVERIFY2(stalls.worstMs() < 100, qPrintable(QString::number(stalls.worstMs())));
}

void TestX11Clipboard::hungOwnerFailsWithinDeadlineAndRecovers()
{
    const X11ReadLimits limits = testLimits();
    X11Clipboard clipboard(limits);
    startOwner({"--hang"}, {});
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(clipboard.poll().status, Status::Pending);
    const Clipboard::Reading reading = settle(clipboard);
    QCOMPARE(reading.status, Status::Failed);
    QVERIFY(clock.elapsed() >= limits.stepTimeout.count() - 20);
    QVERIFY2(clock.elapsed() < limits.stepTimeout.count() + 1000,
             qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(stalls.worstMs() < 100, qPrintable(QString::number(stalls.worstMs())));

    // Still failing while the owner hangs: ticks keep reporting it.
    QTest::qWait(int(limits.stepTimeout.count()) + 100);
    QCOMPARE(clipboard.poll().status, Status::Failed);
    QVERIFY(clipboard.readsStarted() >= 2);

    m_owner.stop();
    QTRY_COMPARE_WITH_TIMEOUT(clipboard.poll().status, Status::Ready, 5000);
    QCOMPARE(clipboard.poll().text, QString());
    startOwner({}, "di nuovo");
    QCOMPARE(settle(clipboard).text, QStringLiteral("di nuovo"));
}

void TestX11Clipboard::stalledIncrementalTransferFails()
{
    X11Clipboard clipboard(testLimits());
    startOwner({"--incr", "100", "--stall-after", "2", "--text", QString(500, QLatin1Char('z'))},
               {});
    QCOMPARE(settle(clipboard).status, Status::Failed);
}

void TestX11Clipboard::changeDuringReadIsReadAgain()
{
    // A long deadline: only giving up on the old owner at once keeps this quick.
    X11ReadLimits limits = testLimits();
    limits.stepTimeout = 10s;
    X11Clipboard clipboard(limits);
    startOwner({"--hang"}, {});
    QCOMPARE(clipboard.poll().status, Status::Pending);
    QTest::qWait(50);

    QElapsedTimer clock;
    clock.start();
    startOwner({}, "nuovo");
    const Clipboard::Reading reading = settle(clipboard);
    QCOMPARE(reading.status, Status::Ready);
    QCOMPARE(reading.text, QStringLiteral("nuovo"));
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(clipboard.readsStarted(), 2);
}

void TestX11Clipboard::ownTextIsAnsweredLocally()
{
    X11Clipboard clipboard(testLimits());
    QVERIFY(clipboard.setText(QStringLiteral("il mio testo ✓").toUtf8()));
    QVERIFY(QGuiApplication::clipboard()->ownsClipboard());
    Clipboard::Reading reading = clipboard.poll();
    QCOMPARE(reading.status, Status::Ready);
    QCOMPARE(reading.text, QStringLiteral("il mio testo ✓"));
    QCOMPARE(clipboard.readsStarted(), 0);
    // A text field of this program copies: that is the clipboard's text now.
    QGuiApplication::clipboard()->setText(QStringLiteral("dal campo di testo"));
    QTRY_COMPARE(clipboard.poll().text, QStringLiteral("dal campo di testo"));
    QCOMPARE(clipboard.readsStarted(), 0);

    // Another program takes over: its text is read again from it.
    startOwner({}, "altrui");
    reading = settle(clipboard);
    QCOMPARE(reading.text, QStringLiteral("altrui"));
    QCOMPARE(clipboard.readsStarted(), 1);

    QVERIFY(clipboard.clear());
    QTRY_COMPARE(clipboard.poll().text, QString());
}

void TestX11Clipboard::readNowWaitsForTheRead()
{
    X11Clipboard clipboard(testLimits());
    startOwner({}, "adesso");
    Clipboard::Reading reading = clipboard.readNow();
    QCOMPARE(reading.status, Status::Ready);
    QCOMPARE(reading.text, QStringLiteral("adesso"));
    QCOMPARE(clipboard.readNow().serial, reading.serial); // fresh: no second read
    QCOMPARE(clipboard.readsStarted(), 1);

    startOwner({"--hang"}, {});
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    QElapsedTimer clock;
    clock.start();
    reading = clipboard.readNow();
    QCOMPARE(reading.status, Status::Failed);
    QVERIFY(clock.elapsed() < 2000);
    QVERIFY2(ticks >= 5, "events were not processed while waiting");
}

void TestX11Clipboard::destructionDoesNotWaitForHungOwner()
{
    X11ReadLimits limits = testLimits();
    limits.stepTimeout = 20s;
    auto clipboard = std::make_unique<X11Clipboard>(limits);
    startOwner({"--hang"}, {});
    QCOMPARE(clipboard->poll().status, Status::Pending);
    QTest::qWait(50);
    QElapsedTimer clock;
    clock.start();
    clipboard.reset();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
}

void TestX11Clipboard::factoryPicksTheX11ReaderOnXcb()
{
    const std::unique_ptr<Clipboard> clipboard = createSystemClipboard();
    QVERIFY(qobject_cast<X11Clipboard *>(clipboard.get()));
}

int main(int argc, char *argv[])
{
    XvfbServer server;
    QString error;
    if (!server.start(&error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    server.exportEnvironment();
    int status = 0;
    {
        QGuiApplication app(argc, argv);
        TestX11Clipboard test;
        QTEST_SET_MAIN_SOURCE_PATH
        status = QTest::qExec(&test, argc, argv);
    }
    server.stop();
    return status;
}

#include "tst_x11clipboard.moc"
