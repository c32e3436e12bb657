// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboardmonitor.h"
#include "fakeclipboard.h"
#include "historystore.h"

#include <QTest>
#include <QTimer>
#include <utility>

namespace {

using Event = ClipboardMonitor::Event;

// The monitor over a store, with no widget anywhere; what it reports is
// recorded.
struct Fixture
{
    HistoryStore store;
    FakeClipboard clipboard;
    QTimer timer1;
    QTimer timer2;
    ClipboardMonitor monitor{store, clipboard, timer1, timer2};
    QList<Event> events;
    QList<int> captured;

    Fixture()
    {
        QObject::connect(&monitor, &ClipboardMonitor::reported, &monitor,
                         [this](Event event) { events << event; });
        QObject::connect(&monitor, &ClipboardMonitor::captured, &monitor,
                         [this](int index) { captured << index; });
        monitor.setInterval(700);
    }
    // What was reported since the last call.
    QList<Event> reported() { return std::exchange(events, {}); }
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
    QVERIFY(f.reported().isEmpty());
    QVERIFY(!f.monitor.isSuspended());
    f.clipboard.setPending(false);
    f.monitor.tick();
    QCOMPARE(f.names(), QStringList{"in arrivo"});
}

void TestClipboardMonitor::capturesTextsReplacedBetweenTicks()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("A"));
    f.reported();
    // Three copies in one interval: none of them is lost, and known or empty
    // texts still add nothing.
    f.clipboard.earlier = {QStringLiteral("B"), QString(), QStringLiteral("A"),
                           QStringLiteral("C")};
    f.copyAndTick(QStringLiteral("D"));
    QCOMPARE(f.names(), QStringList({"A", "B", "C", "D"}));
    QCOMPARE(f.reported(), QList<Event>(3, Event::Capturing));
    QCOMPARE(f.captured, QList<int>({0, 1, 2, 3}));
}

void TestClipboardMonitor::capturePictureReturnsAfterRestoreTick()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("testo"));
    QCOMPARE(f.captured, QList<int>{0});
    QCOMPARE(f.reported(), QList<Event>{Event::Capturing});
    QVERIFY(f.timer2.isActive());
    QVERIFY(f.timer2.isSingleShot());
    QCOMPARE(f.timer2.interval(), 800);
    f.monitor.captureShown();
    QCOMPARE(f.reported(), QList<Event>{Event::Captured});
    QVERIFY(!f.timer2.isActive());
}

void TestClipboardMonitor::failureSuspendsOnceAndRecovers()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("prima"));
    f.monitor.captureShown();
    f.reported();
    f.clipboard.setUnavailable(true);
    f.monitor.tick();
    QVERIFY(f.monitor.isSuspended());
    QCOMPARE(f.reported(), QList<Event>({Event::Suspended, Event::Failed}));

    // The recovering tick captures the new text too.
    f.clipboard.copy(QStringLiteral("dopo"));
    f.clipboard.setUnavailable(false);
    f.monitor.tick();
    QVERIFY(!f.monitor.isSuspended());
    QCOMPARE(f.reported(), QList<Event>({Event::Recovered, Event::Capturing}));
    QCOMPARE(f.names(), QStringList({"prima", "dopo"}));
}

void TestClipboardMonitor::restoreTickDuringSuspensionKeepsFlag()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("catturato"));
    f.clipboard.setUnavailable(true);
    f.monitor.tick();
    f.monitor.captureShown();
    QCOMPARE(f.reported(),
             QList<Event>({Event::Capturing, Event::Suspended, Event::Failed, Event::Captured}));
    QVERIFY(f.monitor.isSuspended());
    // Later failures are failures, not a new suspension.
    f.monitor.tick();
    QCOMPARE(f.reported(), QList<Event>{Event::Failed});
    f.clipboard.setUnavailable(false);
    f.monitor.tick();
    QVERIFY(!f.monitor.isSuspended());
    QCOMPARE(f.reported(), QList<Event>{Event::Recovered});
}

void TestClipboardMonitor::failureLetsWaitingEventsRun()
{
    Fixture f;
    bool ran = false;
    QMetaObject::invokeMethod(
        &f.monitor, [&ran] { ran = true; }, Qt::QueuedConnection);
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
    f.reported();
    f.monitor.setInterval(0);
    QVERIFY(!f.timer1.isActive());
    QCOMPARE(f.monitor.interval(), 0);
    // Stopping by itself changes nothing that shows.
    QVERIFY(f.reported().isEmpty());
    QVERIFY(!f.monitor.isSuspended());
    QCOMPARE(f.monitor.statusText(),
             QStringLiteral("Aggiornamento Scrivel: 1 elemento nella lista"));

    f.monitor.suspendByUser();
    QCOMPARE(f.reported(), QList<Event>{Event::Suspended});
    QCOMPARE(f.monitor.statusText(),
             QStringLiteral("Monitoraggio Scrivel sospeso: Sospeso dall'utente"));
    // A new interval brings the normal state back at the next tick.
    f.monitor.setInterval(300);
    QVERIFY(f.timer1.isActive());
    f.monitor.tick();
    QVERIFY(!f.monitor.isSuspended());
    QCOMPARE(f.reported(), QList<Event>{Event::Recovered});
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
        f.store.appendEntry(QString::number(i).toUtf8());
    f.copyAndTick(QStringLiteral("nuovo"));
    QCOMPARE(f.store.count(), HistoryStore::kCapacity);
    f.store.removeEntryAt(0);
    f.monitor.tick();
    QCOMPARE(f.store.readContent(HistoryStore::kCapacity - 1), QStringLiteral("nuovo"));
}

QTEST_GUILESS_MAIN(TestClipboardMonitor)
#include "tst_clipboardmonitor.moc"
