// SPDX-License-Identifier: GPL-3.0-or-later
#include "cliptext.h"
#include "utf8text.h"

#include <QMimeData>
#include <QRandomGenerator>
#include <QTest>

class TestClipText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decode_data();
    void decode();
    void decodedTextTakesItsSize();
    void leftAgreesWithWholeDecoding();
    void secretMimeDataIsEmpty();
    void offerRules_data();
    void offerRules();
};

void TestClipText::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("latin1");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QByteArray("abc") << false << QStringLiteral("abc");
    QTest::newRow("ends at NUL") << QByteArray("ab\0cd", 5) << false << QStringLiteral("ab");
    QTest::newRow("NUL first") << QByteArray("\0cd", 3) << false << QString();
    QTest::newRow("invalid utf8") << QByteArray("a\xff"
                                                "b")
                                  << false << QStringLiteral("a\uFFFDb");
    QTest::newRow("CR LF and CR kept")
        << QByteArray("a\r\nb\rc") << false << QStringLiteral("a\r\nb\rc");
    QTest::newRow("blanks") << QByteArray("   ") << false << QStringLiteral("   ");
    QTest::newRow("latin1") << QByteArray("caf\xe9") << true << QStringLiteral("café");
    // Only the first is a byte order mark; the second is a character of the text.
    QTest::newRow("two byte order marks") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                        "abc")
                                          << false << QStringLiteral("\uFEFFabc");
    QTest::newRow("encoded surrogate")
        << QByteArray("a\xED\xA0\x80") << false << QStringLiteral("a\uFFFD\uFFFD\uFFFD");
}

void TestClipText::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, latin1);
    QFETCH(QString, text);
    const QByteArray decoded =
        ClipText::decode(bytes, latin1 ? ClipText::Encoding::Latin1 : ClipText::Encoding::Utf8);
    // The program's own bytes: valid UTF-8 of exactly that text.
    QCOMPARE(decoded, text.toUtf8());
}

void TestClipText::decodedTextTakesItsSize()
{
    // Converting reserves for the worst case; what is kept must not.
    const auto fits = [](const QByteArray &text) { return text.capacity() <= text.size() + 64; };
    QVERIFY(fits(ClipText::decode(QByteArray(100'000, '\xe9'), ClipText::Encoding::Latin1)));
    QVERIFY(fits(ClipText::decode(QByteArray(100'000, 'a') + '\xff', ClipText::Encoding::Utf8)));
}

void TestClipText::leftAgreesWithWholeDecoding()
{
    // One to four bytes a character, cut anywhere, and invalid bytes.
    const QStringList pieces = {QStringLiteral("a"), QStringLiteral("è"), QStringLiteral("☕"),
                                QStringLiteral("😀"), QStringLiteral("\n")};
    QRandomGenerator rng(7);
    for (int round = 0; round < 500; ++round) {
        QByteArray utf8;
        for (int i = int(rng.bounded(40)); i > 0; --i)
            utf8 += rng.bounded(20) == 0 ? QByteArray("\xff")
                                         : pieces[int(rng.bounded(pieces.size()))].toUtf8();
        const QString whole = QString::fromUtf8(utf8);
        const qsizetype count = rng.bounded(int(whole.size()) + 3);
        QCOMPARE(Utf8Text::left(utf8, count), whole.left(count));
        const QString head = Utf8Text::head(utf8, count);
        QCOMPARE(head, whole.size() > count ? whole.left(count) + QStringLiteral("...") : whole);
    }
}

void TestClipText::secretMimeDataIsEmpty()
{
    QMimeData data;
    data.setText(QStringLiteral("hunter2"));
    QCOMPARE(ClipText::fromMimeData(data), QStringLiteral("hunter2"));
    data.setData(QString::fromLatin1(ClipText::kPasswordHintType), "secret");
    QCOMPARE(ClipText::fromMimeData(data), QString());
    data.setData(QString::fromLatin1(ClipText::kPasswordHintType), "public");
    QCOMPARE(ClipText::fromMimeData(data), QStringLiteral("hunter2"));
}

void TestClipText::offerRules_data()
{
    using Types = QList<QByteArray>;
    QTest::addColumn<Types>("offered");
    QTest::addColumn<Types>("textTypes");
    QTest::addColumn<bool>("hint");

    QTest::newRow("preference, not the offer's order")
        << Types{"TEXT", "STRING", "text/plain", "UTF8_STRING", "text/plain;charset=utf-8"}
        << Types{"text/plain;charset=utf-8", "UTF8_STRING", "text/plain", "STRING", "TEXT"}
        << false;
    QTest::newRow("other types left out")
        << Types{"image/png", "STRING", "text/html"} << Types{"STRING"} << false;
    QTest::newRow("copied files are no text")
        << Types{"UTF8_STRING", "x-special/gnome-copied-files"} << Types{} << false;
    QTest::newRow("password hint")
        << Types{"UTF8_STRING", "x-kde-passwordManagerHint"} << Types{"UTF8_STRING"} << true;
}

void TestClipText::offerRules()
{
    QFETCH(QList<QByteArray>, offered);
    QFETCH(QList<QByteArray>, textTypes);
    QFETCH(bool, hint);
    const ClipText::Offer offer = ClipText::readOffer(offered);
    QCOMPARE(offer.textTypes, textTypes);
    QCOMPARE(offer.hasPasswordHint, hint);
}

QTEST_GUILESS_MAIN(TestClipText)
#include "tst_cliptext.moc"
