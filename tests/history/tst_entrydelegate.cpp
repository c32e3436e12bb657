// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrydelegate.h"

#include <QListWidget>
#include <QPixmap>
#include <QTest>

// Exposes the text a line is drawn with.
class ProbeDelegate : public EntryDelegate
{
public:
    using EntryDelegate::EntryDelegate;
    QString drawnText(const QModelIndex &index) const
    {
        QStyleOptionViewItem option;
        initStyleOption(&option, index);
        return option.text;
    }
};

class TestEntryDelegate : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void linesAreDrawnOnOneLine_data();
    void linesAreDrawnOnOneLine();
    void hugeTextDrawsLikeAShortOne();
};

void TestEntryDelegate::linesAreDrawnOnOneLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("drawn");
    QTest::newRow("LF") << "a\nb"
                        << "a\u23CEb";
    QTest::newRow("CR LF is one break") << "a\r\nb"
                                        << "a\u23CEb";
    QTest::newRow("lone CR") << "a\rb"
                             << "a\u23CEb";
    QTest::newRow("tab") << "a\tb"
                         << "a b";
    QTest::newRow("plain") << "abc"
                           << "abc";
}

void TestEntryDelegate::linesAreDrawnOnOneLine()
{
    QFETCH(QString, text);
    QFETCH(QString, drawn);
    QListWidget list;
    auto *delegate = new ProbeDelegate(&list);
    list.setItemDelegate(delegate);
    list.addItem(text);
    QCOMPARE(delegate->drawnText(list.model()->index(0, 0)), drawn);
    // The stored text is never changed by drawing.
    QCOMPARE(list.item(0)->text(), text);
}

void TestEntryDelegate::hugeTextDrawsLikeAShortOne()
{
    QListWidget list;
    auto *delegate = new ProbeDelegate(&list);
    list.setItemDelegate(delegate);
    const QString huge = QString(10'000'000, QLatin1Char('x')) + QStringLiteral("\nfine");
    list.addItem(QStringLiteral("breve"));
    list.addItem(huge);
    const QModelIndex hugeIndex = list.model()->index(1, 0);
    const QString drawn = delegate->drawnText(hugeIndex);
    QCOMPARE(drawn.size(), EntryDelegate::kDrawnLength + 1);
    QVERIFY(drawn.endsWith(QChar(0x2026)));
    QStyleOptionViewItem option;
    option.initFrom(&list);
    QCOMPARE(delegate->sizeHint(option, hugeIndex).height(),
             delegate->sizeHint(option, list.model()->index(0, 0)).height());
    list.resize(200, 100);
    QPixmap canvas(list.size());
    list.render(&canvas); // must neither hang nor crash
    QCOMPARE(list.item(1)->text().size(), huge.size());
}

QTEST_MAIN(TestEntryDelegate)
#include "tst_entrydelegate.moc"
