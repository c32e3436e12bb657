// SPDX-License-Identifier: GPL-3.0-or-later
#include "entryfixture.h"
#include "form2.h"
#include "helplauncher.h"
#include "listinteraction.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

namespace {

const QString kNoSelectionTip =
    QStringLiteral("Doppio clic copia la il contenuto della selezione negli Scrivel di sistema");

QPoint centreOf(HistoryView &list, int row)
{
    return list.visualRect(list.model()->index(row, 0)).center();
}

// The pointer moves over the list (the platform's own pointer cannot be moved here).
void moveOver(QAbstractItemView &list, const QPoint &pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, list.viewport()->mapToGlobal(pos), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &move);
}

// A double-click as the platform reports it: press, release, double-click.
void doubleClick(QAbstractItemView &list, const QPoint &pos)
{
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, pos);
}

void makeActive(EntryFixture &f)
{
    QApplication::setActiveWindow(f.form.get());
    QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
    f.list().setFocus();
}

void hideMenus(EntryFixture &f)
{
    f.menus().cd->hide();
    f.menus().menuclicd->hide();
}

} // namespace

class TestListInteraction : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void noSelectionDoesNothing();
    void selectionEnablesButtons();
    void hoverTooltip_data();
    void hoverTooltip();
    void doubleClickCopiesAfterEmptying();
    void menuStates_data();
    void menuStates();
    void letterMOpensMenu_data();
    void letterMOpensMenu();
    void rightClickActsOnSelectedLine();
    void keyRunsItsCommandOnce_data();
    void keyRunsItsCommandOnce();
    void characterCodes_data();
    void characterCodes();
    void toolbarWithoutSelection();
    void toolbarButtons();
    void toolbarEmptyList_data();
    void toolbarEmptyList();
    void toolbarRightClickOpensMainMenu();
};

void TestListInteraction::noSelectionDoesNothing()
{
    EntryFixture f({"uno", "due"});
    f.clipboard().copy(QStringLiteral("uno"));
    makeActive(f);
    doubleClick(f.list(), QPoint(5, 200));
    f.list().setCurrentRow(-1);
    f.form->List1_DblClick();
    for (int code : {3, 13, 4, 22, int('M'), int('m')})
        f.form->List1_KeyPress(code);
    QTest::keyClick(&f.list(), Qt::Key_Return);
    QTest::keyClick(&f.list(), Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(&f.list(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.clipboard().writes(), 0);
    QCOMPARE(f.clipboard().clears(), 0);
    QCOMPARE(f.fake.modals.shown, 0);
    QVERIFY(f.messages().calls.isEmpty());
    QCOMPARE(f.names(), QStringList({"uno", "due"}));
    QVERIFY(!f.menus().cd->isVisible());

    moveOver(f.list(), QPoint(10, 10));
    QTRY_COMPARE(f.list().toolTip(), kNoSelectionTip);

    QTest::mouseClick(f.list().viewport(), Qt::RightButton, {}, centreOf(f.list(), 1));
    QTRY_VERIFY(f.menus().menuclicd->isVisible());
    QCOMPARE(f.list().currentRow(), -1);
    QVERIFY(!f.menus().copianegliscrivel->isEnabled());
    QVERIFY(!f.menus().visualizza->isEnabled());
    QVERIFY(!f.menus().elimina->isEnabled());
    hideMenus(f);
}

void TestListInteraction::selectionEnablesButtons()
{
    EntryFixture f({"uno", "due"});
    QCOMPARE(f.selectionButtons(), kDisabled);
    // Current (as on getting the focus) but not selected: a capture leaves them off.
    f.list().selectionModel()->setCurrentIndex(f.list().model()->index(0, 0),
                                               QItemSelectionModel::NoUpdate);
    f.clipboard().copy(QStringLiteral("tre"));
    f.form->Timer1_Timer();
    QCOMPARE(f.names(), QStringList({"uno", "due", "tre"}));
    QCOMPARE(f.selectionButtons(), kDisabled);
    QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {}, centreOf(f.list(), 1));
    QCOMPARE(f.list().currentRow(), 1);
    QCOMPARE(f.selectionButtons(), kEnabled);
    // Losing the selection does not disable them.
    f.list().setCurrentRow(-1);
    QCOMPARE(f.selectionButtons(), kEnabled);
}

void TestListInteraction::hoverTooltip_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("tip");
    const QString head = QStringLiteral("Contenuto selezione: ");
    const QString thirty = QString(30, QLatin1Char('a'));
    const QString thirtyOne = QString(31, QLatin1Char('b'));
    const QString twoHundred = QString(80, QLatin1Char('c')) + QString(120, QLatin1Char('d'));
    QTest::newRow("5") << "corto" << head + "corto";
    QTest::newRow("30") << thirty << head + thirty;
    QTest::newRow("31") << thirtyOne << head + thirtyOne + "...";
    QTest::newRow("200") << twoHundred << head + QString(80, QLatin1Char('c')) + "...";
}

void TestListInteraction::hoverTooltip()
{
    QFETCH(QString, content);
    QFETCH(QString, tip);
    EntryFixture f({"altro", content});
    f.store().updateEntry(1, QStringLiteral("nome"), content);
    f.select(1);
    // The pointer over another line still describes the selected one.
    moveOver(f.list(), centreOf(f.list(), 0));
    QTRY_COMPARE(f.list().toolTip(), tip);
}

void TestListInteraction::doubleClickCopiesAfterEmptying()
{
    EntryFixture f({"uno", "cinque"});
    f.store().updateEntry(1, QStringLiteral("nome"), QStringLiteral("abcde"));
    f.clipboard().copy(QStringLiteral("prima"));
    doubleClick(f.list(), centreOf(f.list(), 1));
    QCOMPARE(f.list().currentRow(), 1);
    QCOMPARE(f.clipboard().clears(), 1);
    QCOMPARE(f.clipboard().writes(), 1);
    QCOMPARE(f.clipboard().text(), QStringLiteral("abcde"));
    QCOMPARE(f.selectionButtons(), kEnabled);
    QCOMPARE(f.list().toolTip(), QStringLiteral("abcde..."));

    f.store().updateEntry(0, QStringLiteral("uno"), QString(40, QLatin1Char('x')));
    f.select(0);
    f.form->List1_DblClick();
    QCOMPARE(f.list().toolTip(), QString(30, QLatin1Char('x')) + "...");
    moveOver(f.list(), centreOf(f.list(), 1));
    QTRY_COMPARE(f.list().toolTip(),
                 QStringLiteral("Contenuto selezione: ") + QString(40, QLatin1Char('x')) + "...");
}

void TestListInteraction::menuStates_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<QList<int>>("checked");
    QTest::addColumn<bool>("fondiBefore");
    QTest::addColumn<bool>("spuntati");
    QTest::addColumn<bool>("fondi");
    QTest::newRow("nothing checked, Fondi was on") << 0 << QList<int>{} << true << false << true;
    QTest::newRow("nothing checked, Fondi was off") << 0 << QList<int>{} << false << false << false;
    QTest::newRow("one checked") << 1 << QList<int>{2} << true << true << false;
    QTest::newRow("two checked") << -1 << QList<int>{0, 2} << false << true << true;
    QTest::newRow("three checked") << 2 << QList<int>{0, 1, 2} << false << true << true;
}

void TestListInteraction::menuStates()
{
    QFETCH(int, selected);
    QFETCH(QList<int>, checked);
    QFETCH(bool, fondiBefore);
    QFETCH(bool, spuntati);
    QFETCH(bool, fondi);
    EntryFixture f({"uno", "due", "tre"});
    f.select(selected);
    for (int row : checked)
        f.check({row});
    f.menus().mnuFondi->setEnabled(fondiBefore);
    f.menus().copianegliscrivel->setEnabled(selected == -1);

    // Opening from the menu bar runs the update as the popup does.
    f.menus().menuclicd->popup(QPoint(0, 0));
    QTRY_VERIFY(f.menus().menuclicd->isVisible());
    const bool selection = selected != -1;
    QCOMPARE(f.menus().copianegliscrivel->isEnabled(), selection);
    QCOMPARE(f.menus().visualizza->isEnabled(), selection);
    QCOMPARE(f.menus().elimina->isEnabled(), selection);
    QCOMPARE(f.menus().mnuElementiSpuntati->menuAction()->isEnabled(), spuntati);
    QCOMPARE(f.menus().mnuFondi->isEnabled(), fondi);
    QVERIFY(f.menus().eliminatutti->isEnabled());
    QVERIFY(f.menus().visscr->isEnabled());
    QVERIFY(f.menus().svuotascrivel->isEnabled());
    QVERIFY(!f.menus().menuclicd->defaultAction());
    hideMenus(f);
}

void TestListInteraction::letterMOpensMenu_data()
{
    QTest::addColumn<char>("letter");
    QTest::addColumn<int>("selected");
    QTest::newRow("m, selected") << 'm' << 0;
    QTest::newRow("M, selected") << 'M' << 0;
    QTest::newRow("m, no selection") << 'm' << -1;
    QTest::newRow("M, no selection") << 'M' << -1;
}

void TestListInteraction::letterMOpensMenu()
{
    QFETCH(char, letter);
    QFETCH(int, selected);
    EntryFixture f({"alfa", "mela", "beta"});
    f.select(selected);
    makeActive(f);
    QTest::keyClick(&f.list(), letter);
    if (selected == -1) {
        QVERIFY(!f.menus().cd->isVisible());
    } else {
        QTRY_VERIFY(f.menus().cd->isVisible());
        QVERIFY(!f.menus().cd->defaultAction());
        // The list still takes the letter: the selection moves to "mela".
        QCOMPARE(f.list().currentRow(), 1);
    }
    hideMenus(f);
}

void TestListInteraction::rightClickActsOnSelectedLine()
{
    EntryFixture f({"uno", "due", "tre"});
    f.select(0);
    QTest::mouseClick(f.list().viewport(), Qt::RightButton, {}, centreOf(f.list(), 2));
    QTRY_VERIFY(f.menus().menuclicd->isVisible());
    QCOMPARE(f.list().currentRow(), 0);
    QCOMPARE(f.menus().menuclicd->defaultAction(), f.menus().copianegliscrivel);
    QVERIFY(f.menus().copianegliscrivel->isEnabled());
    f.menus().copianegliscrivel->trigger();
    QCOMPARE(f.clipboard().text(), QStringLiteral("uno"));
    hideMenus(f);
    // The bold default item is the popup's only.
    QVERIFY(!f.menus().menuclicd->defaultAction());
    // Left and middle buttons do not open it.
    QTest::mouseClick(f.list().viewport(), Qt::MiddleButton, {}, centreOf(f.list(), 1));
    QVERIFY(!f.menus().menuclicd->isVisible());
}

void TestListInteraction::keyRunsItsCommandOnce_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<bool>("menuEnabled");
    for (bool enabled : {true, false}) {
        const char *state = enabled ? "menu item enabled" : "menu item disabled";
        QTest::addRow("Ctrl+C, %s", state) << int(Qt::Key_C) << true << enabled;
        QTest::addRow("Ctrl+D, %s", state) << int(Qt::Key_D) << true << enabled;
        QTest::addRow("Ctrl+M, %s", state) << int(Qt::Key_M) << true << enabled;
        QTest::addRow("Ctrl+V, %s", state) << int(Qt::Key_V) << true << enabled;
    }
    QTest::newRow("Enter") << int(Qt::Key_Return) << false << false;
}

void TestListInteraction::keyRunsItsCommandOnce()
{
    QFETCH(int, key);
    QFETCH(bool, ctrl);
    QFETCH(bool, menuEnabled);
    EntryFixture f({"uno", "due"});
    f.clipboard().copy(QStringLiteral("due"));
    f.select(1);
    f.menus().copianegliscrivel->setEnabled(menuEnabled);
    f.menus().visualizza->setEnabled(menuEnabled);
    f.menus().elimina->setEnabled(menuEnabled);
    f.menus().visscr->setEnabled(menuEnabled);
    makeActive(f);
    f.messages().answer({MessageBox::No});
    QTest::keyClick(&f.list(), Qt::Key(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);

    switch (key) {
    case Qt::Key_C:
        QCOMPARE(f.clipboard().writes(), 1);
        QCOMPARE(f.clipboard().text(), QStringLiteral("due"));
        break;
    case Qt::Key_D:
        QCOMPARE(f.messages().calls.size(), 1);
        break;
    default: // the editor, for the entry or the clipboard
        QCOMPARE(f.fake.modals.shown, 1);
        break;
    }
    QCOMPARE(f.names(), QStringList({"uno", "due"}));
}

void TestListInteraction::characterCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    const int ctrl = int(Qt::ControlModifier);
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << ctrl << "\x03" << 3;
    QTest::newRow("Ctrl+C without text") << int(Qt::Key_C) << ctrl << "" << 3;
    QTest::newRow("Ctrl+Shift+D") << int(Qt::Key_D) << (ctrl | int(Qt::ShiftModifier)) << "" << 4;
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "\r" << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << 13;
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << ctrl << "" << 10;
    QTest::newRow("m") << int(Qt::Key_M) << 0 << "m" << int('m');
    QTest::newRow("è") << 0 << 0 << "è" << 0xE8;
    QTest::newRow("arrow") << int(Qt::Key_Down) << 0 << "" << 0;
    QTest::newRow("Alt+M") << int(Qt::Key_M) << int(Qt::AltModifier) << "m" << 0;
}

void TestListInteraction::characterCodes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, code);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QCOMPARE(ListInteraction::characterCode(event), code);
}

void TestListInteraction::toolbarWithoutSelection()
{
    EntryFixture f({"uno", "due", "tre"});
    f.select(1);
    f.form->Toolbar1->button(2)->click(); // "Elim": deletes, leaves no selection
    QCOMPARE(f.names(), QStringList({"uno", "tre"}));
    QCOMPARE(f.list().currentRow(), -1);
    QCOMPARE(f.selectionButtons(), kEnabled);
    f.form->Toolbar1_ButtonClick(QStringLiteral("Mod"));
    f.form->Toolbar1_ButtonClick(QStringLiteral("Elim"));
    QCOMPARE(f.fake.modals.shown, 0);
    QCOMPARE(f.names(), QStringList({"uno", "tre"}));
    QVERIFY(f.messages().calls.isEmpty());
}

void TestListInteraction::toolbarButtons()
{
    EntryFixture f({"uno", "due"});
    f.select(0);
    f.form->Toolbar1->button(1)->click(); // "Mod"
    QCOMPARE(f.fake.modals.shown, 1);
    f.form->Toolbar1->button(4)->click(); // "Gui"
    QCOMPARE(f.fake.processes.starts.size(), 1);
    QCOMPARE(f.fake.processes.starts[0].arguments,
             QStringList{f.form->help().pagePath(HelpLauncher::Contents)});
    // Keys are compared exactly.
    for (const char *key : {"mod", "ELIMT", "Gui ", ""})
        f.form->Toolbar1_ButtonClick(QString::fromLatin1(key));
    QCOMPARE(f.fake.modals.shown, 1);
    QCOMPARE(f.fake.processes.starts.size(), 1);
    QCOMPARE(f.names(), QStringList({"uno", "due"}));
}

void TestListInteraction::toolbarEmptyList_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("answer");
    QTest::newRow("empty clipboard") << "" << 0;
    QTest::newRow("Cancel") << "negli appunti" << int(MessageBox::Cancel);
}

void TestListInteraction::toolbarEmptyList()
{
    QFETCH(QString, clipboard);
    QFETCH(int, answer);
    EntryFixture f({"uno", "due"});
    f.select(0);
    f.clipboard().copy(clipboard);
    if (answer)
        f.messages().answer({answer});
    f.form->Toolbar1->button(3)->click(); // "ElimT"
    if (!answer) {
        QVERIFY(f.messages().calls.isEmpty());
        QCOMPARE(f.store().count(), 0);
        QCOMPARE(f.selectionButtons(), kDisabled);
    } else {
        QCOMPARE(f.messages().calls.size(), 1);
        QCOMPARE(f.names(), QStringList({"uno", "due"}));
        QCOMPARE(f.clipboard().text(), clipboard);
        QCOMPARE(f.selectionButtons(), kEnabled);
    }
}

void TestListInteraction::toolbarRightClickOpensMainMenu()
{
    EntryFixture f({"uno"});
    QTest::mouseClick(f.form->Toolbar1->button(3), Qt::LeftButton);
    QVERIFY(!f.menus().cd->isVisible());
    QTest::mousePress(f.form->Toolbar1->button(4), Qt::RightButton);
    QTRY_VERIFY(f.menus().cd->isVisible());
    QVERIFY(!f.menus().menuclicd->isVisible());
    QVERIFY(!f.menus().cd->defaultAction());
    hideMenus(f);
}

QTEST_MAIN(TestListInteraction)
#include "tst_listinteraction.moc"
