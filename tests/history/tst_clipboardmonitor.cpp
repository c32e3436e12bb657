// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboardmonitor.h"
#include "fakeclipboard.h"
#include "historystore.h"
#include "traycontrolhost.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace {

// The monitor over a store and a tray control that is not loaded (it keeps
// what it is told, which is what these tests look at).
struct Fixture
{
    QWidget host;
    QListWidget list;
    QMenu menu;
    QAction *placeholder = menu.addAction(QStringLiteral("(Lista vuota)"));
    QAction *separ = menu.addSeparator();
    HistoryStore store{list, menu, *placeholder, *separ};
    FakeClipboard clipboard;
    TrayControlHost tray{&host, QStringList()};
    QTimer timer1;
    QTimer timer2;
    TrayPictures pictures{Vandril::makePicture(Vandril::Picture::Icon, QIcon()),
                          Vandril::makePicture(Vandril::Picture::Icon, QIcon()),
                          Vandril::makePicture(Vandril::Picture::Icon, QIcon())};
    ClipboardMonitor monitor{store, clipboard, tray, list, timer1, timer2, pictures};

    Fixture()
    {
        tray.setTrayIcon(pictures.normal);
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
    Vandril::PictureRef icon() const { return tray.trayIcon(); }
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
    QVERIFY(f.list.isEnabled());
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
    QCOMPARE(f.icon(), f.pictures.capture);
}

void TestClipboardMonitor::capturePictureReturnsAfterRestoreTick()
{
    Fixture f;
    const QString tip = f.tray.trayTip();
    f.copyAndTick(QStringLiteral("testo"));
    QCOMPARE(f.icon(), f.pictures.capture);
    QVERIFY(f.timer2.isActive());
    QVERIFY(f.timer2.isSingleShot());
    QCOMPARE(f.timer2.interval(), 800);
    // The tooltip is not touched by a capture.
    QCOMPARE(f.tray.trayTip(), tip);
    f.monitor.restoreNormalPicture();
    QCOMPARE(f.icon(), f.pictures.normal);
    QVERIFY(!f.timer2.isActive());
}

void TestClipboardMonitor::failureSuspendsOnceAndRecovers()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("prima"));
    f.monitor.restoreNormalPicture();
    f.clipboard.setUnavailable(true);
    f.monitor.tick();
    QVERIFY(!f.list.isEnabled());
    QVERIFY(f.monitor.isSuspended());
    QCOMPARE(f.icon(), f.pictures.suspended);

    f.clipboard.copy(QStringLiteral("dopo"));
    f.clipboard.setUnavailable(false);
    f.monitor.tick();
    QVERIFY(f.list.isEnabled());
    QVERIFY(!f.monitor.isSuspended());
    QCOMPARE(f.tray.trayTip(), QStringLiteral("Aggiornamento Scrivel: 1 elemento nella lista"));
    // The recovering tick captures the new text too.
    QCOMPARE(f.names(), QStringList({"prima", "dopo"}));
    QCOMPARE(f.icon(), f.pictures.capture);
}

void TestClipboardMonitor::restoreTickDuringSuspensionKeepsFlag()
{
    Fixture f;
    f.copyAndTick(QStringLiteral("catturato"));
    f.clipboard.setUnavailable(true);
    f.monitor.tick();
    QCOMPARE(f.icon(), f.pictures.suspended);
    f.monitor.restoreNormalPicture();
    QCOMPARE(f.icon(), f.pictures.normal);
    QVERIFY(f.monitor.isSuspended());
    // Later failures do not put the suspended picture back.
    f.monitor.tick();
    QCOMPARE(f.icon(), f.pictures.normal);
    QVERIFY(!f.list.isEnabled());
    f.clipboard.setUnavailable(false);
    f.monitor.tick();
    QVERIFY(!f.monitor.isSuspended());
    QVERIFY(f.list.isEnabled());
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
    f.monitor.restoreNormalPicture();
    f.monitor.setInterval(0);
    QVERIFY(!f.timer1.isActive());
    QCOMPARE(f.monitor.interval(), 0);
    // Stopping by itself changes neither the picture nor the state.
    QCOMPARE(f.icon(), f.pictures.normal);
    QVERIFY(!f.monitor.isSuspended());
    QCOMPARE(f.monitor.statusText(),
             QStringLiteral("Aggiornamento Scrivel: 1 elemento nella lista"));

    f.monitor.suspendByUser();
    QCOMPARE(f.icon(), f.pictures.suspended);
    QCOMPARE(f.monitor.statusText(),
             QStringLiteral("Monitoraggio Scrivel sospeso: Sospeso dall'utente"));
    // A new interval brings the normal state back at the next tick.
    f.monitor.setInterval(300);
    QVERIFY(f.timer1.isActive());
    f.monitor.tick();
    QVERIFY(!f.monitor.isSuspended());
    QCOMPARE(f.icon(), f.pictures.normal);
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
