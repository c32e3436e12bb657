// SPDX-License-Identifier: GPL-3.0-or-later
#include "mappedbuffer.h"

#include <QTest>

class TestMappedBuffer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void appendsKeepEveryByteAcrossGrowth_data();
    void appendsKeepEveryByteAcrossGrowth();
    void clearReleasesAndAllowsReuse();
};

void TestMappedBuffer::appendsKeepEveryByteAcrossGrowth_data()
{
    QTest::addColumn<qsizetype>("reserved");
    QTest::addColumn<int>("pieceSize");
    QTest::addColumn<int>("pieces");
    QTest::newRow("no reservation, tiny pieces") << qsizetype(0) << 7 << 5000;
    QTest::newRow("reservation too small") << qsizetype(100) << 4096 << 300;
    QTest::newRow("exact reservation") << qsizetype(3 * 65536) << 65536 << 3;
    QTest::newRow("pieces larger than a page") << qsizetype(0) << 70001 << 40;
}

void TestMappedBuffer::appendsKeepEveryByteAcrossGrowth()
{
    QFETCH(qsizetype, reserved);
    QFETCH(int, pieceSize);
    QFETCH(int, pieces);

    MappedBuffer buffer;
    QVERIFY(buffer.reserve(reserved));
    QByteArray expected;
    for (int i = 0; i < pieces; ++i) {
        const QByteArray piece(pieceSize, char('a' + i % 26));
        QVERIFY(buffer.append(piece.constData(), piece.size()));
        expected += piece;
    }
    QCOMPARE(buffer.size(), expected.size());
    QVERIFY(buffer.bytes() == expected);
}

void TestMappedBuffer::clearReleasesAndAllowsReuse()
{
    MappedBuffer buffer;
    QVERIFY(buffer.isEmpty());
    QVERIFY(buffer.bytes().isEmpty());
    QVERIFY(buffer.append("abc", 3));
    buffer.clear();
    QVERIFY(buffer.isEmpty());
    QVERIFY(buffer.append("xyz", 3));
    QCOMPARE(buffer.bytes(), QByteArray("xyz"));
    QVERIFY(buffer.append("", 0));
    QCOMPARE(buffer.size(), 3);
}

QTEST_GUILESS_MAIN(TestMappedBuffer)
#include "tst_mappedbuffer.moc"
