// SPDX-License-Identifier: GPL-3.0-or-later
// The Wayland clipboard against a real, private, headless compositor.
#include "clipboardtesting.h"
#include "failoverclipboard.h"
#include "fakeclipboard.h"
#include "headlesscompositor.h"
#include "stallmeter.h"
#include "waylandclipboard.h"
#include "waylandownerprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>
#include <ctime>

using namespace std::chrono_literals;
using Status = Clipboard::Status;

namespace {

ReadLimits testLimits(qsizetype maxBytes = ClipText::kMaxBytes)
{
    return ClipboardTesting::shortLimits(maxBytes);
}

std::unique_ptr<WaylandClipboard> connected(const ReadLimits &limits = testLimits())
{
    std::unique_ptr<WaylandClipboard> clipboard = WaylandClipboard::connectTo(limits);
    if (!clipboard)
        qFatal("the compositor offers no data-control protocol");
    return clipboard;
}

using ClipboardTesting::settle;

double processCpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

HeadlessCompositor *compositor = nullptr;

} // namespace

class TestWaylandClipboard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void readsOncePerCopyAndNotWhileUnchanged();
    void readsText_data();
    void readsText();
    void offersWithoutUsableTextGiveEmptyText_data();
    void offersWithoutUsableTextGiveEmptyText();
    void sourceThatNeverSendsFailsWithinDeadlineAndRecovers();
    void readAheadHandsOverTextsReplacedBeforeAPoll();
    void ownTextServesEveryPasteAndIsNeverReadBack();
    void destructionDoesNotWaitForASilentSource();
    void compositorGoingAwayFailsOverWithoutBusyLoop();

private:
    // Starts the owner and waits until `clipboard` has heard of its selection.
    void startOwner(WaylandClipboard &clipboard, const QStringList &arguments);
    void ownerLeaves(WaylandClipboard &clipboard);

    WaylandOwnerProcess m_owner;
};

void TestWaylandClipboard::cleanup()
{
    m_owner.stop();
}

void TestWaylandClipboard::startOwner(WaylandClipboard &clipboard, const QStringList &arguments)
{
    QSignalSpy changed(&clipboard, &WaylandClipboard::changed);
    QVERIFY2(m_owner.start(arguments), qPrintable(m_owner.error()));
    QVERIFY(!changed.isEmpty() || changed.wait(5000));
}

void TestWaylandClipboard::ownerLeaves(WaylandClipboard &clipboard)
{
    QSignalSpy changed(&clipboard, &WaylandClipboard::changed);
    m_owner.stop();
    QVERIFY(!changed.isEmpty() || changed.wait(5000));
}

void TestWaylandClipboard::readsOncePerCopyAndNotWhileUnchanged()
{
    auto clipboard = connected();
    startOwner(*clipboard, {"--text", "Città perché ☕"});
    Clipboard::Reading reading = settle(*clipboard);
    QCOMPARE(reading.status, Status::Ready);
    QCOMPARE(reading.text, QStringLiteral("Città perché ☕"));
    const int reads = clipboard->readsStarted();

    const quint64 serial = reading.serial;
    for (int tick = 0; tick < 20; ++tick) {
        QTest::qWait(10);
        reading = clipboard->poll();
        QCOMPARE(reading.status, Status::Ready);
        QCOMPARE(reading.serial, serial);
    }
    QCOMPARE(clipboard->readsStarted(), reads);

    startOwner(*clipboard, {"--text", "seconda copia"});
    reading = settle(*clipboard);
    QCOMPARE(reading.text, QStringLiteral("seconda copia"));
    QVERIFY(reading.serial > serial);
    QCOMPARE(clipboard->readsStarted(), reads + 1);
}

void TestWaylandClipboard::readsText_data()
{
    QTest::addColumn<QStringList>("owner");
    QTest::addColumn<QString>("expected");

    const QString accented = QStringLiteral("Perché più caffè? ☕ €");
    QTest::newRow("UTF-8 text") << QStringList{"--text", accented} << accented;
    QTest::newRow("STRING is Latin-1")
        << QStringList{"--type", "STRING", "--latin1", "--text", "caffè"}
        << QStringLiteral("caffè");
    QTest::newRow("public password hint")
        << QStringList{"--hint", "public", "--text", "visibile"} << QStringLiteral("visibile");
    QTest::newRow("NUL ends the text")
        << QStringList{"--text-file", "NUL"} << QStringLiteral("prima");
}

void TestWaylandClipboard::readsText()
{
    QFETCH(QStringList, owner);
    QFETCH(QString, expected);

    QTemporaryFile file;
    if (owner.contains(QStringLiteral("NUL"))) {
        QVERIFY(file.open());
        file.write(QByteArray("prima\0dopo", 10));
        file.flush();
        owner.replace(owner.indexOf(QStringLiteral("NUL")), file.fileName());
    }
    auto clipboard = connected();
    startOwner(*clipboard, owner);
    const Clipboard::Reading reading = settle(*clipboard);
    QCOMPARE(reading.status, Status::Ready);
    QCOMPARE(reading.text, expected);
}

void TestWaylandClipboard::offersWithoutUsableTextGiveEmptyText_data()
{
    QTest::addColumn<QStringList>("owner");
    QTest::addColumn<qsizetype>("maxBytes");

    const qsizetype noLimit = ClipText::kMaxBytes;
    QTest::newRow("nothing selected") << QStringList() << noLimit;
    QTest::newRow("picture only") << QStringList{"--type", "image/png", "--text", "PNG"} << noLimit;
    QTest::newRow("secret hint") << QStringList{"--hint", "secret", "--text", "hunter2"} << noLimit;
    QTest::newRow("files with their paths as text")
        << QStringList{"--files", "--text", "file:///home/utente/foto.png"} << noLimit;
    QTest::newRow("too large") << QStringList{"--text", QString(3000, QLatin1Char('x'))}
                               << qsizetype(1000);
}

void TestWaylandClipboard::offersWithoutUsableTextGiveEmptyText()
{
    QFETCH(QStringList, owner);
    QFETCH(qsizetype, maxBytes);

    auto clipboard = connected(testLimits(maxBytes));
    startOwner(*clipboard, {"--text", "prima"});
    QCOMPARE(settle(*clipboard).text, QStringLiteral("prima"));
    if (owner.isEmpty())
        ownerLeaves(*clipboard);
    else
        startOwner(*clipboard, owner);
    const Clipboard::Reading reading = settle(*clipboard);
    QCOMPARE(reading.status, Status::Ready);
    QCOMPARE(reading.text, QString());
}

void TestWaylandClipboard::sourceThatNeverSendsFailsWithinDeadlineAndRecovers()
{
    const ReadLimits limits = testLimits();
    auto clipboard = connected(limits);
    startOwner(*clipboard, {"--hang"});
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(clipboard->poll().status, Status::Pending);
    QCOMPARE(settle(*clipboard).status, Status::Failed);
    QVERIFY(clock.elapsed() >= limits.stepTimeout.count() - 20);
    QVERIFY2(clock.elapsed() < limits.stepTimeout.count() + 1000,
             qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(stalls.worstMs() < 50, qPrintable(QString::number(stalls.worstMs())));

    // Still failing while the source stays silent: ticks keep reporting it.
    QTest::qWait(int(limits.stepTimeout.count()) + 100);
    QCOMPARE(clipboard->poll().status, Status::Failed);

    startOwner(*clipboard, {"--text", "di nuovo"});
    QCOMPARE(settle(*clipboard).text, QStringLiteral("di nuovo"));
}

void TestWaylandClipboard::readAheadHandsOverTextsReplacedBeforeAPoll()
{
    auto clipboard = connected();
    clipboard->setReadAhead(true);
    QTRY_COMPARE(clipboard->poll().status, Status::Ready);
    const int reads = clipboard->readsStarted();
    startOwner(*clipboard, {"--text", "letto subito"});
    // Read without any poll, so the first poll finds the text ready.
    QTRY_COMPARE(clipboard->readsStarted(), reads + 1);
    QTRY_COMPARE(clipboard->poll().text, QStringLiteral("letto subito"));
    QCOMPARE(clipboard->readsStarted(), reads + 1);

    startOwner(*clipboard, {"--text", "primo"});
    QCOMPARE(clipboard->readNow().text, QStringLiteral("primo"));
    startOwner(*clipboard, {"--text", "secondo"});
    QCOMPARE(clipboard->readNow().text, QStringLiteral("secondo"));
    const Clipboard::Reading reading = clipboard->poll();
    QCOMPARE(reading.text, QStringLiteral("secondo"));
    QCOMPARE(reading.earlier, QList<QByteArray>{"primo"});
    QVERIFY(clipboard->poll().earlier.isEmpty());
}

void TestWaylandClipboard::ownTextServesEveryPasteAndIsNeverReadBack()
{
    auto clipboard = connected();
    clipboard->setReadAhead(true);
    const QString text = QStringLiteral("il mio testo ✓ caffè");
    QVERIFY(clipboard->setText(text.toUtf8()));
    const int reads = clipboard->readsStarted();
    QCOMPARE(clipboard->poll().text, text);
    for (const char *type : ClipText::kTextTypes) {
        const QByteArray expected =
            QByteArrayView(type) == "STRING" ? text.toLatin1() : text.toUtf8();
        QCOMPARE(pasteWithWlPaste(QString::fromLatin1(type)), expected);
    }
    // Our own offer comes back from the compositor; it is not read.
    QCOMPARE(clipboard->readNow().text, text);
    QCOMPARE(clipboard->readsStarted(), reads);

    // A large text reaches a paste whole, with the UI thread free meanwhile.
    const QString large = QStringLiteral("Riga di prova: città ☕\n").repeated(400000);
    QSignalSpy echoed(clipboard.get(), &WaylandClipboard::changed);
    QVERIFY(clipboard->setText(large.toUtf8()));
    QVERIFY(echoed.wait(5000)); // the compositor has it
    StallMeter stalls;
    const QByteArray pasted = pasteWithWlPaste();
    QCOMPARE(pasted.size(), large.toUtf8().size());
    QVERIFY(pasted == large.toUtf8());
    QVERIFY2(stalls.worstMs() < 50, qPrintable(QString::number(stalls.worstMs())));

    // Another program replaces it: its text is read again, from it.
    startOwner(*clipboard, {"--text", "altrui"});
    QCOMPARE(settle(*clipboard).text, QStringLiteral("altrui"));
    QCOMPARE(clipboard->readsStarted(), reads + 1);

    // Emptied: nothing is selected, for us and for everyone.
    QVERIFY(clipboard->clear());
    QCOMPARE(settle(*clipboard).text, QString());
    auto other = connected(); // another client sees no selection either
    QCOMPARE(settle(*other).text, QString());
    QTest::qWait(200);
    QCOMPARE(settle(*clipboard).text, QString());
}

void TestWaylandClipboard::destructionDoesNotWaitForASilentSource()
{
    ReadLimits limits = testLimits();
    limits.stepTimeout = 20s;
    auto clipboard = connected(limits);
    startOwner(*clipboard, {"--hang"});
    QCOMPARE(clipboard->poll().status, Status::Pending);
    QTest::qWait(50);
    QElapsedTimer clock;
    clock.start();
    clipboard.reset();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
}

void TestWaylandClipboard::compositorGoingAwayFailsOverWithoutBusyLoop()
{
    auto primary = connected();
    WaylandClipboard &wayland = *primary;
    auto *fallback = new FakeClipboard;
    FailoverClipboard clipboard(std::move(primary),
                                [fallback] { return std::unique_ptr<Clipboard>(fallback); });
    QVERIFY(wayland.setText(QByteArrayLiteral("mio")));
    const quint64 serial = clipboard.poll().serial;
    QCOMPARE(&clipboard.current(), &wayland);

    QSignalSpy lost(&wayland, &WaylandClipboard::connectionLost);
    compositor->stop();
    QVERIFY(lost.wait(5000));
    QVERIFY(!wayland.isConnected());
    QCOMPARE(settle(wayland).status, Status::Failed);
    QVERIFY(!wayland.setText(QByteArrayLiteral("perso")));
    const double before = processCpuMs();
    QTest::qWait(1000);
    QVERIFY2(processCpuMs() - before < 100, qPrintable(QString::number(processCpuMs() - before)));

    // The other reader serves from now on, its readings newer than the last.
    QCOMPARE(&clipboard.current(), static_cast<Clipboard *>(fallback));
    fallback->copy(QStringLiteral("da X11"));
    const Clipboard::Reading reading = clipboard.poll();
    QCOMPARE(reading.text, QStringLiteral("da X11"));
    QVERIFY(reading.serial > serial);
    QVERIFY(clipboard.setText(QByteArrayLiteral("scritto")));
    QCOMPARE(fallback->text(), QStringLiteral("scritto"));
}

int main(int argc, char *argv[])
{
    if (!HeadlessCompositor::isInstalled()) {
        std::fprintf(stderr, "SKIPPED: no kwin_wayland to run a compositor with\n");
        return 77;
    }
    HeadlessCompositor server;
    QString error;
    if (!server.start(&error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    server.exportEnvironment();
    compositor = &server;
    int status = 0;
    {
        QCoreApplication app(argc, argv);
        // Without a compositor, no clipboard: the factory reports it.
        if (WaylandClipboard::connectTo({}, "scrivel-no-such-compositor")) {
            qCritical("connected to a compositor that does not exist");
            return 1;
        }
        TestWaylandClipboard test;
        QTEST_SET_MAIN_SOURCE_PATH
        status = QTest::qExec(&test, argc, argv);
    }
    server.stop();
    return status;
}

#include "tst_waylandclipboard.moc"
