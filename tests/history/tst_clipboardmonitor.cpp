// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboardmonitor.h"
#include "fakeclipboard.h"
#include "historystore.h"

#include <QTest>
#include <QTimer>

namespace {

using Event = ClipboardMonitor::Event;

// What a window shows of the monitor's reports: the tray picture, whether
// the list takes input, and the tooltip set on recovery.
struct Shown
{
    enum Picture { Normal, Suspended, Capture } picture = Normal;
    bool listEnabled = true;
    QString tip;
};

// The monitor over a store, with no widget anywhere.
struct Fixture
{
    QObject host;
    HistoryStore store;
    FakeClipboard clipboard;
    QTimer timer1;
    QTimer timer2;
    ClipboardMonitor monitor{store, clipboard, timer1, timer2};
    Shown shown;
    QList<int> captured;

    Fixture()
    {
        QObject::connect(&monitor, &ClipboardMonitor::reported, &host, [this](Event event) {
            switch (event) {
            case Event::Capturing:
                shown.picture = Shown::Capture;
                break;
            case Event::Captured:
                shown.picture = Shown::Normal;
                break;
            case Event::Suspended:
                shown.picture = Shown::Suspended;
                break;
            case Event::Failed:
                shown.listEnabled = false;
                break;
            case Event::Recovered:
                shown = {Shown::Normal, true, monitor.countText()};
                break;
            }
        });
        QObject::connect(&monitor, &ClipboardMonitor::captured, &host,
                         [this](int index) { captured << index; });
        monitor.setInterval(700);
    }
    void copyAndTick(const QString &text)
    {
        clipboard.copy(text);
        monitor.tick();
    }
    QStringList names() const
    {
        QStringList result;
        for (int i = 0; i < store.count(); ++i)
            result << store.name(i);
        return result;
    }
    Shown::Picture icon() const { return shown.picture; }
};

} // namespace

class TestClipboardMonitor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void capturesNewTextsInOrder();
    void ignoresEmptyAndPendingReadings();
    void capturesTextsReplacedBetweenTicks();
    void capturePictureReturnsAfterRestoreTick();
    void failureSuspendsOnceAndRecovers();
    void restoreTickDuringSuspensionKeepsFlag();
    void failureLetsWaitingEventsRun();
    void changedEntryIsCapturedAgain();
    void removedEntryComesBack();
    void intervalZeroStopsPolling();
    void statusTexts();
    void fullStoreSkipsCapture();
};

void TestClipboardMonitor::capturesNewTextsInOrder()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("A"));
    f.copyAndTick(QStringLiteral("B"));
    f.copyAndTick(QStringLiteral("A"));
    f.copyAndTick(QStringLiteral("A"));
    f.copyAndTick(QStringLiteral("a"));
    f.monitor.tick();
    QCOMPARE(f.names(), QStringList({"A", "B", "a"}));
    // A text of blanks is not empty.
    f.copyAndTick(QStringLiteral("  "));
    QCOMPARE(f.store.count(), 4);
}

void TestClipboardMonitor::ignoresEmptyAndPendingReadings()
{
    Fixture f;
    f.copyAndTick(QString());
    QCOMPARE(f.store.count(), 0);
    f.clipboard.copy(QStringLiteral("in arrivo"));
    f.clipboard.setPending(true);
    f.monitor.tick();
    QCOMPARE(f.store.count(), 0);
    QVERIFY(f.shown.listEnabled);
    QVERIFY(!f.monitor.isSuspended());
    f.clipboard.setPending(false);
    f.monitor.tick();
    QCOMPARE(f.names(), QStringList{"in arrivo"});
}

void TestClipboardMonitor::capturesTextsReplacedBetweenTicks()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("A"));
    // Three copies in one interval: none of them is lost, and known or empty
    // texts still add nothing.
    f.clipboard.earlier = {QStringLiteral("B"), QString(), QStringLiteral("A"),
                           QStringLiteral("C")};
    f.copyAndTick(QStringLiteral("D"));
    QCOMPARE(f.names(), QStringList({"A", "B", "C", "D"}));
    QCOMPARE(f.icon(), Shown::Capture);
}

void TestClipboardMonitor::capturePictureReturnsAfterRestoreTick()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("testo"));
    QCOMPARE(f.captured, QList<int>{0});
    QCOMPARE(f.icon(), Shown::Capture);
    QVERIFY(f.timer2.isActive());
    QVERIFY(f.timer2.isSingleShot());
    QCOMPARE(f.timer2.interval(), 800);
    f.monitor.captureShown();
    QCOMPARE(f.icon(), Shown::Normal);
    QVERIFY(!f.timer2.isActive());
}

void TestClipboardMonitor::failureSuspendsOnceAndRecovers()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("prima"));
    f.monitor.captureShown();
    f.clipboard.setUnavailable(true);
    f.monitor.tick();
    QVERIFY(!f.shown.listEnabled);
    QVERIFY(f.monitor.isSuspended());
    QCOMPARE(f.icon(), Shown::Suspended);

    f.clipboard.copy(QStringLiteral("dopo"));
    f.clipboard.setUnavailable(false);
    f.monitor.tick();
    QVERIFY(f.shown.listEnabled);
    QVERIFY(!f.monitor.isSuspended());
    QCOMPARE(f.shown.tip, QStringLiteral("Aggiornamento Scrivel: 1 elemento nella lista"));
    // The recovering tick captures the new text too.
    QCOMPARE(f.names(), QStringList({"prima", "dopo"}));
    QCOMPARE(f.icon(), Shown::Capture);
}

void TestClipboardMonitor::restoreTickDuringSuspensionKeepsFlag()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("catturato"));
    f.clipboard.setUnavailable(true);
    f.monitor.tick();
    QCOMPARE(f.icon(), Shown::Suspended);
    f.monitor.captureShown();
    QCOMPARE(f.icon(), Shown::Normal);
    QVERIFY(f.monitor.isSuspended());
    // Later failures do not put the suspended picture back.
    f.monitor.tick();
    QCOMPARE(f.icon(), Shown::Normal);
    QVERIFY(!f.shown.listEnabled);
    f.clipboard.setUnavailable(false);
    f.monitor.tick();
    QVERIFY(!f.monitor.isSuspended());
    QVERIFY(f.shown.listEnabled);
}

void TestClipboardMonitor::failureLetsWaitingEventsRun()
{
    Fixture f;
    bool ran = false;
    QMetaObject::invokeMethod(
        &f.host, [&ran] { ran = true; }, Qt::QueuedConnection);
    f.clipboard.setUnavailable(true);
    f.monitor.tick();
    QVERIFY(ran);
}

void TestClipboardMonitor::changedEntryIsCapturedAgain()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("uguale"));
    f.monitor.tick();
    QCOMPARE(f.store.count(), 1);
    // The editor changes the content of the entry equal to the clipboard.
    f.store.updateEntry(0, QStringLiteral("uguale"), QStringLiteral("cambiato"));
    f.monitor.tick();
    QCOMPARE(f.store.count(), 2);
    QCOMPARE(f.store.readContent(1), QStringLiteral("uguale"));
}

void TestClipboardMonitor::removedEntryComesBack()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("x"));
    f.copyAndTick(QStringLiteral("y"));
    f.store.removeEntryAt(1);
    f.monitor.tick();
    QCOMPARE(f.names(), QStringList({"x", "y"}));
    f.store.clear();
    f.monitor.tick();
    QCOMPARE(f.names(), QStringList({"y"}));
}

void TestClipboardMonitor::intervalZeroStopsPolling()
{
    Fixture f;
    QVERIFY(f.timer1.isActive());
    f.copyAndTick(QStringLiteral("uno"));
    f.monitor.captureShown();
    f.monitor.setInterval(0);
    QVERIFY(!f.timer1.isActive());
    QCOMPARE(f.monitor.interval(), 0);
    // Stopping by itself changes neither the picture nor the state.
    QCOMPARE(f.icon(), Shown::Normal);
    QVERIFY(!f.monitor.isSuspended());
    QCOMPARE(f.monitor.statusText(),
             QStringLiteral("Aggiornamento Scrivel: 1 elemento nella lista"));

    f.monitor.suspendByUser();
    QCOMPARE(f.icon(), Shown::Suspended);
    QCOMPARE(f.monitor.statusText(),
             QStringLiteral("Monitoraggio Scrivel sospeso: Sospeso dall'utente"));
    // A new interval brings the normal state back at the next tick.
    f.monitor.setInterval(300);
    QVERIFY(f.timer1.isActive());
    f.monitor.tick();
    QVERIFY(!f.monitor.isSuspended());
    QCOMPARE(f.icon(), Shown::Normal);
}

void TestClipboardMonitor::statusTexts()
{
    Fixture f;
    QCOMPARE(f.monitor.statusText(),
             QStringLiteral("Aggiornamento Scrivel: nessun elemento nella lista"));
    f.copyAndTick(QStringLiteral("1"));
    f.copyAndTick(QStringLiteral("2"));
    QCOMPARE(f.monitor.statusText(),
             QStringLiteral("Aggiornamento Scrivel: 2 elementi nella lista"));
    f.clipboard.setUnavailable(true);
    f.monitor.tick();
    QCOMPARE(f.monitor.statusText(), QStringLiteral("Scrivel di sistema non disponibili!"));
}

void TestClipboardMonitor::fullStoreSkipsCapture()
{
    Fixture f;
    for (int i = 0; i < HistoryStore::kCapacity; ++i)
        f.store.appendEntry(QString::number(i));
    f.copyAndTick(QStringLiteral("nuovo"));
    QCOMPARE(f.store.count(), HistoryStore::kCapacity);
    f.store.removeEntryAt(0);
    f.monitor.tick();
    QCOMPARE(f.store.readContent(HistoryStore::kCapacity - 1), QStringLiteral("nuovo"));
}

QTEST_MAIN(TestClipboardMonitor)
#include "tst_clipboardmonitor.moc"
