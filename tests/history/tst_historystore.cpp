// SPDX-License-Identifier: GPL-3.0-or-later
#include "historystore.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

namespace {

// A store watched by Qt's model tester, which fails the test on any broken
// model rule (row counts, signals, indexes).
struct Fixture
{
    HistoryStore store;
    QAbstractItemModelTester tester{&store, QAbstractItemModelTester::FailureReportingMode::QtTest};

    void add(std::initializer_list<const char *> texts)
    {
        for (const char *text : texts)
            store.appendEntry(text);
    }
};

// What the store must hold, kept the simplest way.
struct Reference
{
    struct Entry
    {
        QString name, content, caption;
        bool checked = false;
        bool operator==(const Entry &) const = default;
    };
    QList<Entry> entries;
};

} // namespace

class TestHistoryStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void captionRule_data();
    void captionRule();
    void rolesAndFlags();
    void nonAsciiTextsKeepEveryCharacter();
    void containsIsExactAndCaseSensitive();
    void updateRenamesWithoutCutting();
    void capacity();
    // Removals, renames, check marks and emptying, against a reference.
    void randomSequencesAgreeWithReference();
};

void TestHistoryStore::captionRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    const QString sixty(60, QLatin1Char('x'));
    QTest::newRow("60 characters") << sixty << sixty;
    QTest::newRow("61 characters") << sixty + u'x' << sixty + QStringLiteral("...");
    QTest::newRow("short") << QStringLiteral("xxx") << QStringLiteral("xxx");
    const QString accented(60, QChar(0xE8));
    QTest::newRow("61 accented") << accented + u'y' << accented + QStringLiteral("...");
    // A character of two UTF-16 units ending at the 60th.
    const QString emoji = QString(58, QLatin1Char('x')) + QStringLiteral("😀");
    QTest::newRow("emoji at the cut") << emoji + u'y' << emoji + QStringLiteral("...");
}

void TestHistoryStore::captionRule()
{
    QFETCH(QString, text);
    QFETCH(QString, caption);
    Fixture f;
    QCOMPARE(f.store.appendEntry(text.toUtf8()), 0);
    QCOMPARE(f.store.caption(0), caption);
    // The line and the content keep the whole text.
    QCOMPARE(f.store.name(0), text);
    QCOMPARE(f.store.readContent(0), text);
}

void TestHistoryStore::rolesAndFlags()
{
    Fixture f;
    f.add({"uno"});
    const QModelIndex line = f.store.index(0);
    QCOMPARE(line.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
    QVERIFY(line.flags() & Qt::ItemIsUserCheckable);
    // A view checks a line through the model.
    QSignalSpy changed(&f.store, &QAbstractItemModel::dataChanged);
    QVERIFY(f.store.setData(line, Qt::Checked, Qt::CheckStateRole));
    QVERIFY(f.store.isChecked(0));
    QCOMPARE(changed.size(), 1);
    QVERIFY(!f.store.setData(line, QStringLiteral("altro"), Qt::EditRole));
    // Assistive tools get the name, never megabytes of it.
    f.store.updateEntry(0, QString(5000, QLatin1Char('n')), QStringLiteral("uno"));
    QCOMPARE(line.data(Qt::AccessibleTextRole).toString().size(), 1001);
    QCOMPARE(line.data(Qt::DisplayRole).toString(), QString(1000, u'n') + QChar(0x2026));
    // Renaming gives the line a new name id, so views lay it out again.
    QVERIFY(line.data(HistoryStore::NameIdRole) != QVariant(quint64(1)));
}

void TestHistoryStore::nonAsciiTextsKeepEveryCharacter()
{
    Fixture f;
    const QStringList texts = {QStringLiteral("Città, perché, così"), QStringLiteral("caffè ☕ e 😀"),
                               QStringLiteral("שלום עולם، مرحبا"),
                               QStringLiteral("e\u0301 combinata"),
                               QStringLiteral("\uFEFFcon U+FEFF in testa")};
    for (const QString &text : texts)
        f.store.appendEntry(text.toUtf8());
    // The same letters in another normalisation are another text.
    const QByteArray precomposed = QStringLiteral("\u00e9 combinata").toUtf8();
    QVERIFY(!f.store.containsText(precomposed));
    f.store.appendEntry(precomposed);
    QCOMPARE(f.store.count(), 6);
    for (int i = 0; i < texts.size(); ++i) {
        QCOMPARE(f.store.name(i), texts[i]);
        QCOMPARE(f.store.readContent(i), texts[i]);
        QCOMPARE(f.store.contentBytes(i), texts[i].toUtf8());
    }

    // A name of its own, then the content's again.
    const QString name = QStringLiteral("nome: ☕ שלום");
    const QString content = texts[1] + QStringLiteral(" ✓");
    f.store.updateEntry(1, name, content);
    QCOMPARE(f.store.index(1).data().toString(), name);
    QCOMPARE(f.store.caption(1), name);
    QCOMPARE(f.store.readContent(1), content);
    QVERIFY(f.store.containsText(content.toUtf8()));
    QVERIFY(!f.store.containsText(texts[1].toUtf8()));
}

void TestHistoryStore::containsIsExactAndCaseSensitive()
{
    Fixture f;
    QVERIFY(!f.store.containsText(QByteArrayLiteral("Testo")));
    f.add({"Testo", "altro"});
    QVERIFY(f.store.containsText(QByteArrayLiteral("Testo")));
    QVERIFY(f.store.containsText(QByteArrayLiteral("altro")));
    QVERIFY(!f.store.containsText(QByteArrayLiteral("testo")));
    QVERIFY(!f.store.containsText(QByteArrayLiteral("Testo ")));
    // Updates keep the answer in step, also when two entries become equal.
    f.store.updateEntry(1, QStringLiteral("n"), QStringLiteral("Testo"));
    QVERIFY(!f.store.containsText(QByteArrayLiteral("altro")));
    f.store.removeEntryAt(0);
    QVERIFY(f.store.containsText(QByteArrayLiteral("Testo")));
    f.store.removeEntryAt(0);
    QVERIFY(!f.store.containsText(QByteArrayLiteral("Testo")));
}

void TestHistoryStore::updateRenamesWithoutCutting()
{
    Fixture f;
    f.add({"x", "y"});
    const QString longName(75, QLatin1Char('n'));
    f.store.updateEntry(1, longName, QStringLiteral("nuovo"));
    QCOMPARE(f.store.name(1), longName);
    QCOMPARE(f.store.caption(1), longName);
    QCOMPARE(f.store.readContent(1), QStringLiteral("nuovo"));
    // A name of megabytes would freeze the menu: its caption stops early.
    const QString hugeName(5'000'000, QLatin1Char('h'));
    f.store.updateEntry(1, hugeName, QStringLiteral("nuovo"));
    QCOMPARE(f.store.name(1), hugeName);
    QCOMPARE(f.store.caption(1).size(), HistoryStore::kRenamedCaptionLength + 3);
}

void TestHistoryStore::capacity()
{
    // No model tester: it would walk the whole model at each of the appends.
    HistoryStore store;
    for (int i = 0; i < HistoryStore::kCapacity; ++i)
        store.appendEntry(QString::number(i).toUtf8());
    QVERIFY(store.isFull());
    QCOMPARE(store.appendEntry(QByteArrayLiteral("di troppo")), -1);
    QCOMPARE(store.count(), HistoryStore::kCapacity);
    store.removeEntryAt(HistoryStore::kCapacity - 1);
    QCOMPARE(store.appendEntry(QByteArrayLiteral("di nuovo")), HistoryStore::kCapacity - 1);
}

void TestHistoryStore::randomSequencesAgreeWithReference()
{
    // Few distinct texts, so that repeats, equal contents and emptying happen often.
    for (quint32 seed = 1; seed <= 40; ++seed) {
        Fixture f;
        Reference ref;
        QRandomGenerator rng(seed);
        QStringList log;
        for (int step = 0; step < 150; ++step) {
            const int n = int(ref.entries.size());
            const int at = n ? int(rng.bounded(n)) : 0;
            const QString text = QStringLiteral("t%1").arg(rng.bounded(12));
            switch (rng.bounded(n ? 6 : 1)) {
            case 0:
                log << QStringLiteral("append ") + text;
                if (!f.store.containsText(text.toUtf8())) {
                    f.store.appendEntry(text.toUtf8());
                    ref.entries.append({text, text, text});
                }
                break;
            case 1:
                log << QStringLiteral("remove %1").arg(at);
                f.store.removeEntryAt(at);
                ref.entries.removeAt(at);
                break;
            case 2:
                log << QStringLiteral("rename %1 ").arg(at) + text;
                f.store.updateEntry(at, text + QLatin1Char('!'), text);
                ref.entries[at].name = ref.entries[at].caption = text + QLatin1Char('!');
                ref.entries[at].content = text;
                break;
            case 3:
                log << QStringLiteral("toggle %1").arg(at);
                ref.entries[at].checked = !ref.entries[at].checked;
                f.store.setData(f.store.index(at),
                                ref.entries[at].checked ? Qt::Checked : Qt::Unchecked,
                                Qt::CheckStateRole);
                break;
            case 4:
                log << QStringLiteral("clear");
                f.store.clear();
                ref.entries.clear();
                break;
            default:
                log << QStringLiteral("contains ") + text;
                break;
            }
            QList<Reference::Entry> held;
            for (int i = 0; i < f.store.count(); ++i)
                held.append({f.store.name(i), f.store.readContent(i), f.store.caption(i),
                             f.store.isChecked(i)});
            const bool contained = std::any_of(ref.entries.begin(), ref.entries.end(),
                                               [&](const auto &e) { return e.content == text; });
            if (held != ref.entries || f.store.containsText(text.toUtf8()) != contained)
                QFAIL(qPrintable(QStringLiteral("seed %1:\n").arg(seed) + log.join('\n')));
        }
    }
}

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_historystore.moc"
