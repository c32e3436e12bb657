// SPDX-License-Identifier: GPL-3.0-or-later
#include "historystore.h"
#include "selectionbuttons.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QTest>

namespace {

struct RecordingButtons : SelectionButtons
{
    QList<bool> calls;
    void setSelectionButtonsEnabled(bool enabled) override { calls << enabled; }
};

// A store over the same widgets the main window gives it.
struct Fixture
{
    QListWidget list;
    QMenu menu;
    QAction *placeholder;
    QAction *separ;
    QAction *svuota;
    RecordingButtons buttons;
    HistoryStore store;

    Fixture()
        : placeholder(menu.addAction(QStringLiteral("(Lista vuota)"))), separ(menu.addSeparator()),
          svuota(menu.addAction(QStringLiteral("&Svuota lista"))),
          store(list, menu, *placeholder, *separ)
    {
        placeholder->setVisible(false);
        store.setSelectionButtons(&buttons);
    }

    void add(std::initializer_list<const char *> texts)
    {
        for (const char *text : texts)
            store.appendEntry(QString::fromUtf8(text));
    }
    // Captions of the menu's entry items, in menu order.
    QStringList menuCaptions() const
    {
        QStringList captions;
        const QList<QAction *> actions = menu.actions();
        for (int i = actions.indexOf(placeholder) + 1; actions.at(i) != separ; ++i)
            captions << actions.at(i)->text();
        return captions;
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

class TestHistoryStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void captionRule_data();
    void captionRule();
    void appendKeepsEverythingInStep();
    void containsIsExactAndCaseSensitive();
    void remove_data();
    void remove();
    void removingLastEntryDisablesButtons();
    void appendEnablesButtonsOnlyWithSelection();
    void updateRenamesWithoutCutting();
    void clearThenCaptureSameTextAgain();
    void capacity();
};

void TestHistoryStore::captionRule_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("caption");
    const QString sixty(60, QLatin1Char('x'));
    QTest::newRow("60 characters") << 60 << sixty;
    QTest::newRow("61 characters") << 61 << sixty + QStringLiteral("...");
    QTest::newRow("short") << 3 << QStringLiteral("xxx");
}

void TestHistoryStore::captionRule()
{
    QFETCH(int, length);
    QFETCH(QString, caption);
    Fixture f;
    const QString text(length, QLatin1Char('x'));
    QCOMPARE(f.store.appendEntry(text), 0);
    QCOMPARE(f.store.mnulista(1)->text(), caption);
    // The line and the content keep the whole text.
    QCOMPARE(f.store.name(0), text);
    QCOMPARE(f.store.readContent(0), text);
}

void TestHistoryStore::appendKeepsEverythingInStep()
{
    Fixture f;
    f.add({"uno", "due", "tre"});
    QCOMPARE(f.store.count(), 3);
    QCOMPARE(f.names(), QStringList({"uno", "due", "tre"}));
    QCOMPARE(f.menuCaptions(), QStringList({"uno", "due", "tre"}));
    for (int i = 1; i <= 3; ++i) {
        QVERIFY(f.store.mnulista(i)->isVisible());
        QVERIFY(f.store.mnulista(i)->isEnabled());
    }
    QVERIFY(!f.store.mnulista(0)->isVisible());
    QCOMPARE(f.list.item(0)->checkState(), Qt::Unchecked);
    QVERIFY(f.list.item(0)->flags() & Qt::ItemIsUserCheckable);
}

void TestHistoryStore::containsIsExactAndCaseSensitive()
{
    Fixture f;
    QVERIFY(!f.store.containsText(QStringLiteral("Testo")));
    f.add({"Testo", "altro"});
    QVERIFY(f.store.containsText(QStringLiteral("Testo")));
    QVERIFY(f.store.containsText(QStringLiteral("altro")));
    QVERIFY(!f.store.containsText(QStringLiteral("testo")));
    QVERIFY(!f.store.containsText(QStringLiteral("Testo ")));
    // Updates keep the answer in step, also when two entries become equal.
    f.store.updateEntry(1, QStringLiteral("n"), QStringLiteral("Testo"));
    QVERIFY(!f.store.containsText(QStringLiteral("altro")));
    f.store.removeEntryAt(0);
    QVERIFY(f.store.containsText(QStringLiteral("Testo")));
    f.store.removeEntryAt(0);
    QVERIFY(!f.store.containsText(QStringLiteral("Testo")));
}

void TestHistoryStore::remove_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<bool>>("checked");
    QTest::newRow("first") << 0 << QStringList{"b", "c", "d", "e"}
                           << QList<bool>{false, true, false, true};
    QTest::newRow("middle") << 1 << QStringList{"a", "c", "d", "e"}
                            << QList<bool>{true, true, false, true};
    QTest::newRow("last") << 4 << QStringList{"a", "b", "c", "d"}
                          << QList<bool>{true, false, true, false};
}

void TestHistoryStore::remove()
{
    QFETCH(int, index);
    QFETCH(QStringList, names);
    QFETCH(QList<bool>, checked);
    Fixture f;
    f.add({"a", "b", "c", "d", "e"});
    // Entry 1 renamed, so that its name, content and caption differ.
    f.store.updateEntry(1, QStringLiteral("b"), QStringLiteral("contenuto b"));
    for (int i : {0, 2, 4})
        f.list.item(i)->setCheckState(Qt::Checked);

    f.store.removeEntryAt(index);

    QCOMPARE(f.store.count(), 4);
    QCOMPARE(f.names(), names);
    QCOMPARE(f.menuCaptions(), names);
    QList<bool> states;
    for (int i = 0; i < 4; ++i) {
        states << f.store.isChecked(i);
        const QString expected =
            names.at(i) == QLatin1String("b") ? QStringLiteral("contenuto b") : names.at(i);
        QCOMPARE(f.store.readContent(i), expected);
    }
    QCOMPARE(states, checked);
    // The slot past the old last entry is emptied.
    QCOMPARE(f.store.contentSlot(5), QString());
    QCOMPARE(f.list.currentRow(), -1);
}

void TestHistoryStore::removingLastEntryDisablesButtons()
{
    Fixture f;
    f.add({"solo"});
    f.store.removeEntryAt(0);
    QCOMPARE(f.store.count(), 0);
    QVERIFY(f.menuCaptions().isEmpty());
    QCOMPARE(f.buttons.calls, QList<bool>{false});
    // Out-of-range indexes change nothing.
    f.store.removeEntryAt(0);
    f.store.removeEntryAt(-1);
    QCOMPARE(f.buttons.calls.size(), 1);
}

void TestHistoryStore::appendEnablesButtonsOnlyWithSelection()
{
    Fixture f;
    f.add({"a"});
    QVERIFY(f.buttons.calls.isEmpty());
    f.list.setCurrentRow(0);
    f.add({"b"});
    QCOMPARE(f.buttons.calls, QList<bool>{true});
}

void TestHistoryStore::updateRenamesWithoutCutting()
{
    Fixture f;
    f.add({"x", "y"});
    const QString longName(75, QLatin1Char('n'));
    f.store.updateEntry(1, longName, QStringLiteral("nuovo"));
    QCOMPARE(f.store.name(1), longName);
    QCOMPARE(f.store.mnulista(2)->text(), longName);
    QCOMPARE(f.store.readContent(1), QStringLiteral("nuovo"));
    // A name of megabytes would freeze the menu: its caption stops early.
    const QString hugeName(5'000'000, QLatin1Char('h'));
    f.store.updateEntry(1, hugeName, QStringLiteral("nuovo"));
    QCOMPARE(f.store.name(1), hugeName);
    QCOMPARE(f.store.mnulista(2)->text().size(), HistoryStore::kRenamedCaptionLength + 3);
}

void TestHistoryStore::clearThenCaptureSameTextAgain()
{
    Fixture f;
    f.add({"a", "b"});
    f.store.clear();
    QCOMPARE(f.store.count(), 0);
    QVERIFY(f.menuCaptions().isEmpty());
    QVERIFY(!f.store.containsText(QStringLiteral("a")));
    // Clearing leaves the table's slots as they were.
    QCOMPARE(f.store.contentSlot(1), QStringLiteral("b"));
    QCOMPARE(f.store.appendEntry(QStringLiteral("a")), 0);
    QCOMPARE(f.store.mnulista(1)->text(), QStringLiteral("a"));
    QCOMPARE(f.menuCaptions(), QStringList{"a"});
}

void TestHistoryStore::capacity()
{
    Fixture f;
    for (int i = 0; i < HistoryStore::kCapacity; ++i)
        f.store.appendEntry(QString::number(i));
    QVERIFY(f.store.isFull());
    QCOMPARE(f.store.appendEntry(QStringLiteral("di troppo")), -1);
    QCOMPARE(f.store.count(), HistoryStore::kCapacity);
    // Removing the last entry clears the final free slot and stays inside the table.
    f.store.removeEntryAt(HistoryStore::kCapacity - 1);
    QCOMPARE(f.store.contentSlot(HistoryStore::kTableSize - 2), QString());
    QCOMPARE(f.store.appendEntry(QStringLiteral("di nuovo")), HistoryStore::kCapacity - 1);
}

QTEST_MAIN(TestHistoryStore)
#include "tst_historystore.moc"
