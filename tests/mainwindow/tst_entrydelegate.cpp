// SPDX-License-Identifier: GPL-3.0-or-later
#include "entrydelegate.h"
#include "historystore.h"
#include "historyview.h"

#include <QImage>
#include <QScreen>
#include <QScrollBar>
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

namespace {

struct List
{
    HistoryStore store;
    HistoryView view{store};
    ProbeDelegate *delegate = new ProbeDelegate(&view);
    List() { view.setItemDelegate(delegate); }
};

} // namespace

class TestEntryDelegate : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void linesAreDrawnOnOneLine_data();
    void linesAreDrawnOnOneLine();
    void hugeTextDrawsLikeAShortOne();
    void listDrawsWhatAFreshListDraws();
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
    List list;
    list.store.appendEntry(text.toUtf8());
    QCOMPARE(list.delegate->drawnText(list.store.index(0)), drawn);
    // The stored text is never changed by drawing.
    QCOMPARE(list.store.name(0), text);
}

void TestEntryDelegate::hugeTextDrawsLikeAShortOne()
{
    List list;
    const QString huge = QString(10'000'000, QLatin1Char('x')) + QStringLiteral("\nfine");
    list.store.appendEntry(QByteArrayLiteral("breve"));
    list.store.appendEntry(huge.toUtf8());
    const QModelIndex hugeIndex = list.store.index(1);
    const QString drawn = list.delegate->drawnText(hugeIndex);
    QCOMPARE(drawn.size(), EntryDelegate::kDrawnLength + 1);
    QVERIFY(drawn.endsWith(QChar(0x2026)));
    QStyleOptionViewItem option;
    option.initFrom(&list.view);
    QCOMPARE(list.delegate->sizeHint(option, hugeIndex).height(),
             list.delegate->sizeHint(option, list.store.index(0)).height());
    list.view.resize(200, 100);
    list.view.grab(); // must neither hang nor crash
    QCOMPARE(list.store.name(1).size(), huge.size());
}

void TestEntryDelegate::listDrawsWhatAFreshListDraws()
{
    // Lines are drawn from what was laid out before, and appends repaint only
    // the new lines: after any mix of changes the list on screen must look
    // like a list drawn from scratch, never show an old name or width.
    List list;
    list.view.resize(160, 120);
    list.view.setFocusPolicy(Qt::NoFocus);
    list.view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list.view));
    auto same = [&] {
        QCoreApplication::processEvents();
        HistoryView fresh(list.store);
        fresh.setItemDelegate(new EntryDelegate(&fresh));
        fresh.resize(list.view.size());
        fresh.setFocusPolicy(Qt::NoFocus);
        fresh.verticalScrollBar()->setValue(list.view.verticalScrollBar()->value());
        fresh.show();
        QCoreApplication::processEvents();
        // What the window holds on screen, not the list drawn again.
        const QImage shown = list.view.screen()->grabWindow(list.view.winId()).toImage();
        return shown.convertToFormat(QImage::Format_RGB32) ==
               fresh.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    for (int i = 0; i < 12; ++i) {
        list.store.appendEntry(QStringLiteral("riga %1").arg(i).toUtf8());
        QTRY_VERIFY2(same(), qPrintable(QStringLiteral("after append %1").arg(i)));
    }
    list.store.updateEntry(1, QStringLiteral("WWWWWWWW"), QStringLiteral("riga 1"));
    QTRY_VERIFY(same());
    list.store.updateEntry(1, QString(60, QLatin1Char('W')), QStringLiteral("riga 1"));
    list.view.resize(120, 120);
    QTRY_VERIFY(same());
    list.view.resize(160, 120);
    QTRY_VERIFY(same());
    list.store.removeEntryAt(0);
    list.store.appendEntry(QByteArrayLiteral("dopo la rimozione"));
    QTRY_VERIFY(same());
    list.store.clear();
    list.store.appendEntry(QByteArrayLiteral("di nuovo"));
    QTRY_VERIFY(same());
}

QTEST_MAIN(TestEntryDelegate)
#include "tst_entrydelegate.moc"
