// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeclipboard.h"
#include "historystore.h"
#include "menuscrollarrow.h"
#include "qtclipboard.h"
#include "scriptedmessagebox.h"
#include "traycopymenu.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QWheelEvent>

namespace {

// The copy menu's fixed items around the entries, as the main window builds them.
struct Menu
{
    HistoryStore store;
    QMenu menu;
    QAction *hint = menu.addAction(QStringLiteral("Copia il contenuto di:"));
    QAction *sep1 = menu.addSeparator();
    QAction *placeholder = menu.addAction(QStringLiteral("(Lista vuota)"));
    QAction *separ = menu.addSeparator();
    QAction *svuota = menu.addAction(QStringLiteral("&Svuota lista"));
    QAction *sep2 = menu.addSeparator();
    QAction *annulla = menu.addAction(QStringLiteral("&Annulla"));
    ScriptedMessageBox messages;

    Menu() { placeholder->setVisible(false); }

    QStringList visibleCaptions() const
    {
        QStringList captions;
        for (QAction *action : menu.actions()) {
            if (action->isVisible())
                captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        return captions;
    }
};

const QString kUnavailable = FakeClipboard::kUnavailableMessage;

QStringList entries(int n)
{
    QStringList texts;
    for (int i = 0; i < n; ++i)
        texts << QStringLiteral("voce %1").arg(i);
    return texts;
}

} // namespace

class TestTrayCopyMenu : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void itemsInCaptureOrder();
    void copiesWholeContentNotCaption();
    void copyEmptiesOtherFormats();
    void unavailableClipboard();
    void hints();
    void manyEntriesShowAWindowThatMoves();
    void menuTallerThanItsScreenShowsArrows();
    void withoutPointerOpensCentredWhollyOnScreen();
};

void TestTrayCopyMenu::itemsInCaptureOrder()
{
    Menu m;
    FakeClipboard clipboard;
    TrayCopyMenu copyMenu(m.store, clipboard, m.messages, m.menu, *m.placeholder, *m.separ);
    QCOMPARE(m.visibleCaptions(),
             QStringList({"Copia il contenuto di:", "-", "-", "&Svuota lista", "-", "&Annulla"}));
    // Both separators of the empty menu are drawn, one below the other.
    m.menu.popup(QPoint(0, 0));
    QVERIFY(QTest::qWaitForWindowExposed(&m.menu));
    const QRect first = m.menu.actionGeometry(m.sep1);
    const QRect second = m.menu.actionGeometry(m.separ);
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    QVERIFY(second.top() >= first.bottom());
    m.menu.hide();
    const QString longText = QString(70, QLatin1Char('L'));
    m.store.appendEntry(QByteArrayLiteral("abc"));
    m.store.appendEntry(longText.toUtf8());
    QCOMPARE(m.visibleCaptions(),
             QStringList({"Copia il contenuto di:", "-", "abc", longText.left(60) + "...", "-",
                          "&Svuota lista", "-", "&Annulla"}));
}

void TestTrayCopyMenu::copiesWholeContentNotCaption()
{
    Menu m;
    FakeClipboard clipboard;
    TrayCopyMenu copyMenu(m.store, clipboard, m.messages, m.menu, *m.placeholder, *m.separ);
    const QString longText = QString(70, QLatin1Char('L'));
    m.store.appendEntry(QByteArrayLiteral("abc"));
    m.store.appendEntry(longText.toUtf8());
    copyMenu.copyEntry(2);
    QCOMPARE(clipboard.text(), longText);
    QCOMPARE(clipboard.clears(), 1);

    // A renamed entry shows its name but copies its content.
    m.store.updateEntry(0, QStringLiteral("nome"), QStringLiteral("contenuto"));
    QCOMPARE(copyMenu.mnulista(1)->text(), QStringLiteral("nome"));
    copyMenu.copyEntry(1);
    QCOMPARE(clipboard.text(), QStringLiteral("contenuto"));
    QVERIFY(m.messages.calls.isEmpty());
    // Elements past the entries copy nothing.
    copyMenu.copyEntry(3);
    QCOMPARE(clipboard.writes(), 2);
}

void TestTrayCopyMenu::copyEmptiesOtherFormats()
{
    Menu m;
    QtClipboard clipboard;
    TrayCopyMenu copyMenu(m.store, clipboard, m.messages, m.menu, *m.placeholder, *m.separ);
    m.store.appendEntry(QByteArrayLiteral("testo"));
    auto *data = new QMimeData;
    data->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(data);
    copyMenu.copyEntry(1);
    const QMimeData *now = QGuiApplication::clipboard()->mimeData();
    QVERIFY(!now->hasImage());
    QCOMPARE(now->text(), QStringLiteral("testo"));
}

void TestTrayCopyMenu::unavailableClipboard()
{
    Menu m;
    FakeClipboard clipboard;
    TrayCopyMenu copyMenu(m.store, clipboard, m.messages, m.menu, *m.placeholder, *m.separ);
    m.store.appendEntry(QByteArrayLiteral("abc"));
    clipboard.setUnavailable(true);
    copyMenu.copyEntry(1);
    QCOMPARE(m.messages.calls.size(), 1);
    QCOMPARE(m.messages.calls[0].text, kUnavailable);
    QCOMPARE(m.messages.calls[0].style, 48);
    QCOMPARE(m.messages.calls[0].title, QString());
    QCOMPARE(m.store.count(), 1);
}

void TestTrayCopyMenu::hints()
{
    Menu m;
    FakeClipboard clipboard;
    TrayCopyMenu copyMenu(m.store, clipboard, m.messages, m.menu, *m.placeholder, *m.separ);
    copyMenu.showHint();
    m.store.appendEntry(QByteArrayLiteral("abc"));
    copyMenu.showHint();
    QCOMPARE(m.messages.calls.size(), 2);
    QVERIFY(m.messages.calls[0].text.startsWith(QStringLiteral("Copiare del testo negli Scrivel")));
    QCOMPARE(m.messages.calls[1].text,
             QStringLiteral("Selezionare una voce di quelle sottostanti per copiare il relativo "
                            "contenuto negli Scrivel di sistema."));
    QCOMPARE(m.messages.calls[0].style, 64);
    QCOMPARE(m.messages.calls[1].style, 64);
}

void TestTrayCopyMenu::manyEntriesShowAWindowThatMoves()
{
    Menu m;
    FakeClipboard clipboard;
    TrayCopyMenu copyMenu(m.store, clipboard, m.messages, m.menu, *m.placeholder, *m.separ);
    copyMenu.setRows(5);
    for (const QString &text : entries(12))
        m.store.appendEntry(text.toUtf8());
    const QStringList fixed{"Copia il contenuto di:", "-"};
    const QStringList end{"-", "&Svuota lista", "-", "&Annulla"};
    QCOMPARE(m.visibleCaptions(), fixed + entries(12).mid(0, 5) + end);

    // The wheel and the keys past the last item move the window, in order.
    m.menu.popup(QPoint(0, 0));
    QVERIFY(QTest::qWaitForWindowExposed(&m.menu));
    QWheelEvent down(QPointF(5, 5), m.menu.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&m.menu, &down);
    QCOMPARE(copyMenu.firstShown(), 3);
    m.menu.setActiveAction(copyMenu.mnulista(8));
    QTest::keyClick(&m.menu, Qt::Key_Down);
    QCOMPARE(m.visibleCaptions(), fixed + entries(12).mid(4, 5) + end);
    QCOMPARE(m.menu.activeAction()->text(), QStringLiteral("voce 8"));
    QTest::keyClick(&m.menu, Qt::Key_PageDown);
    QCOMPARE(copyMenu.firstShown(), 7);
    // Choosing an item copies the entry it shows now.
    QCOMPARE(copyMenu.mnulista(12)->data().toInt(), 12);
    copyMenu.copyEntry(copyMenu.mnulista(12)->data().toInt());
    QCOMPARE(clipboard.text(), QStringLiteral("voce 11"));

    // Removals pull the window back inside the history; an emptied history
    // leaves only the fixed items.
    for (int i = 0; i < 6; ++i)
        m.store.removeEntryAt(0);
    QCOMPARE(copyMenu.firstShown(), 1);
    QCOMPARE(m.visibleCaptions(), fixed + entries(12).mid(7, 5) + end);
    m.store.clear();
    QCOMPARE(m.visibleCaptions(), fixed + end);
    m.menu.hide();
}

void TestTrayCopyMenu::menuTallerThanItsScreenShowsArrows()
{
    Menu m;
    FakeClipboard clipboard;
    TrayCopyMenu copyMenu(m.store, clipboard, m.messages, m.menu, *m.placeholder, *m.separ);
    for (const QString &text : entries(80))
        m.store.appendEntry(text.toUtf8());
    MenuScrollArrow *up = copyMenu.upArrow();
    MenuScrollArrow *down = copyMenu.downArrow();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    copyMenu.popup(screen.bottomRight() - QPoint(20, 20));
    QVERIFY(QTest::qWaitForWindowExposed(&m.menu));
    QVERIFY(screen.contains(m.menu.geometry()));
    QVERIFY(up->isVisible() && down->isVisible());
    // Along the edges, outside every item: nothing of the menu moves or hides.
    const QRect first = m.menu.actionGeometry(m.hint);
    const QRect last = m.menu.actionGeometry(m.annulla);
    QVERIFY(up->geometry().bottom() < first.top() && up->geometry().top() <= 2);
    QVERIFY(down->geometry().top() > last.bottom() &&
            down->geometry().bottom() >= m.menu.height() - 3);
    QCOMPARE(m.visibleCaptions().mid(2, 2), entries(2));
    QVERIFY(!up->isActive());
    QVERIFY(down->isActive());

    // A click scrolls by one and leaves the menu open; pointing scrolls on.
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(copyMenu.firstShown(), 1);
    QVERIFY(m.menu.isVisible());
    QVERIFY(up->isActive());
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(down, &enter);
    QTRY_VERIFY(copyMenu.firstShown() > 2);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(down, &leave);
    const int stopped = copyMenu.firstShown();
    QTest::qWait(300);
    QCOMPARE(copyMenu.firstShown(), stopped);

    // At the newest entries the bottom arrow has nothing more to show.
    copyMenu.scrollBy(80);
    QVERIFY(!down->isActive());
    QCOMPARE(m.visibleCaptions().at(m.visibleCaptions().size() - 5), QStringLiteral("voce 79"));
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(copyMenu.firstShown(), 80 - copyMenu.rows());
    QVERIFY(m.menu.isVisible());
    m.menu.hide();

    // A history that fits needs no arrows.
    while (m.store.count() > 3)
        m.store.removeEntryAt(0);
    QVERIFY(!up->isVisibleTo(&m.menu) && !down->isVisibleTo(&m.menu));
    QCOMPARE(m.menu.contentsMargins(), QMargins());
}

void TestTrayCopyMenu::withoutPointerOpensCentredWhollyOnScreen()
{
    for (const int count : {3, 400}) {
        Menu m;
        FakeClipboard clipboard;
        TrayCopyMenu copyMenu(m.store, clipboard, m.messages, m.menu, *m.placeholder, *m.separ);
        for (const QString &text : entries(count))
            m.store.appendEntry(text.toUtf8());
        copyMenu.popupCentred();
        QVERIFY(QTest::qWaitForWindowExposed(&m.menu));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect menu = m.menu.geometry();
        QVERIFY2(screen.contains(menu), qPrintable(QStringLiteral("%1 entries").arg(count)));
        QVERIFY(qAbs(menu.center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(menu.center().y() - screen.center().y()) <= 1);
        m.menu.hide();
    }
}

QTEST_MAIN(TestTrayCopyMenu)
#include "tst_traycopymenu.moc"
