// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an offer and serving a paste through pipes, without a compositor:
// which type is asked for, the hint and file-list rules, the deadlines and
// the size limit.
#include "offerread.h"
#include "pastewriter.h"
#include "stallmeter.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

ReadLimits testLimits(qsizetype maxBytes = ClipText::kMaxBytes)
{
    ReadLimits limits;
    limits.stepTimeout = 300ms;
    limits.totalTimeout = 2s;
    limits.maxBytes = maxBytes;
    return limits;
}

// A source that answers each request for a type with `answers[type]` (in
// pieces every `pieceMs`, when given), or never when the type has no answer.
class FakeSource
{
public:
    QHash<QByteArray, QByteArray> answers;
    qsizetype pieceSize = 0;
    int pieceMs = 0;
    QList<QByteArray> asked;

    OfferRead::Receive receive()
    {
        return [this](const QByteArray &type, int fd) {
            asked.append(type);
            const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
            m_open.append(own);
            if (answers.contains(type))
                send(own, answers.value(type));
            return true;
        };
    }
    ~FakeSource()
    {
        for (int fd : std::as_const(m_open))
            ::close(fd);
    }

private:
    void send(int fd, const QByteArray &data)
    {
        if (pieceSize == 0) {
            (void)!::write(fd, data.constData(), size_t(data.size()));
            finish(fd);
            return;
        }
        auto *timer = new QTimer(&m_timers);
        timer->setInterval(pieceMs);
        auto offset = std::make_shared<qsizetype>(0);
        QObject::connect(timer, &QTimer::timeout, [this, timer, fd, data, offset] {
            const QByteArray piece = data.mid(*offset, pieceSize);
            (void)!::write(fd, piece.constData(), size_t(piece.size()));
            *offset += piece.size();
            if (*offset >= data.size()) {
                finish(fd);
                timer->deleteLater();
            }
        });
        timer->start();
    }
    void finish(int fd)
    {
        ::close(fd);
        m_open.removeOne(fd);
    }
    QList<int> m_open;
    QObject m_timers;
};

ReadResult readOffer(FakeSource &source, const QList<QByteArray> &types,
                     const ReadLimits &limits = testLimits())
{
    OfferRead read(types, source.receive(), limits);
    QSignalSpy finished(&read, &OfferRead::finished);
    read.start();
    if (finished.isEmpty() && !finished.wait(10000))
        return {ReadOutcome::NoDisplay, "no answer"};
    return finished.first().first().value<ReadResult>();
}

} // namespace

class TestOfferRead : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void asksForThePreferredTypeOnly_data();
    void asksForThePreferredTypeOnly();
    void passwordHint_data();
    void passwordHint();
    void sizeLimit();
    void sourceThatNeverSendsTimesOut();
    void slowSourceWithinEachStepIsRead();
    void abandonKeepsOnlyWholeTexts();
    void pasteArrivesWholeWithoutBlocking();
    void pasteReaderThatLeavesOrStallsEndsThePaste();
};

void TestOfferRead::asksForThePreferredTypeOnly_data()
{
    QTest::addColumn<QList<QByteArray>>("types");
    QTest::addColumn<QByteArray>("asked");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("outcome");

    const QByteArray utf8 = "Perché più caffè? ☕";
    const int text = int(ReadOutcome::Text);
    QTest::newRow("UTF-8 type before the rest")
        << QList<QByteArray>{"TEXT", "STRING", "text/plain", "UTF8_STRING",
                             "text/plain;charset=utf-8"}
        << QByteArray("text/plain;charset=utf-8") << QString::fromUtf8(utf8) << text;
    QTest::newRow("STRING is Latin-1") << QList<QByteArray>{"STRING", "TEXT"}
                                       << QByteArray("STRING") << QStringLiteral("caffè") << text;
    QTest::newRow("picture only") << QList<QByteArray>{"image/png"} << QByteArray() << QString()
                                  << int(ReadOutcome::NoText);
    QTest::newRow("files with their paths as text")
        << QList<QByteArray>{"text/plain;charset=utf-8", "text/uri-list"} << QByteArray()
        << QString() << int(ReadOutcome::NoText);
}

void TestOfferRead::asksForThePreferredTypeOnly()
{
    QFETCH(QList<QByteArray>, types);
    QFETCH(QByteArray, asked);
    QFETCH(QString, text);
    QFETCH(int, outcome);

    FakeSource source;
    for (const QByteArray &type : types)
        source.answers.insert(type, type == "STRING" ? QByteArray("caff\xe8")
                                                     : QByteArray("Perché più caffè? ☕"));
    const ReadResult result = readOffer(source, types);
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(result.text, text);
    QCOMPARE(source.asked, asked.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{asked});
}

void TestOfferRead::passwordHint_data()
{
    QTest::addColumn<QByteArray>("hint");
    QTest::addColumn<bool>("hintAnswered");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<bool>("textAsked");

    QTest::newRow("secret") << QByteArray("secret") << true << int(ReadOutcome::Secret) << false;
    QTest::newRow("secret, new line")
        << QByteArray("secret\n") << true << int(ReadOutcome::Secret) << false;
    QTest::newRow("public") << QByteArray("public") << true << int(ReadOutcome::Text) << true;
    QTest::newRow("hint never sent")
        << QByteArray() << false << int(ReadOutcome::TimedOut) << false;
}

void TestOfferRead::passwordHint()
{
    QFETCH(QByteArray, hint);
    QFETCH(bool, hintAnswered);
    QFETCH(int, outcome);
    QFETCH(bool, textAsked);

    FakeSource source;
    source.answers.insert("UTF8_STRING", "hunter2");
    if (hintAnswered)
        source.answers.insert(ClipText::kPasswordHintType, hint);
    const ReadResult result =
        readOffer(source, {"UTF8_STRING", QByteArray(ClipText::kPasswordHintType)});
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(result.text, textAsked ? QStringLiteral("hunter2") : QString());
    QCOMPARE(source.asked.contains("UTF8_STRING"), textAsked);
}

void TestOfferRead::sizeLimit()
{
    FakeSource source;
    source.answers.insert("UTF8_STRING", QByteArray(1000, 'x'));
    QCOMPARE(readOffer(source, {"UTF8_STRING"}, testLimits(1000)).text, QString(1000, 'x'));
    source.answers.insert("UTF8_STRING", QByteArray(1001, 'x'));
    const ReadResult result = readOffer(source, {"UTF8_STRING"}, testLimits(1000));
    QCOMPARE(int(result.outcome), int(ReadOutcome::TooLarge));
    QVERIFY(!result.failed());
    QCOMPARE(result.text, QString());
}

void TestOfferRead::sourceThatNeverSendsTimesOut()
{
    FakeSource source;
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    const ReadResult result = readOffer(source, {"UTF8_STRING"});
    QCOMPARE(int(result.outcome), int(ReadOutcome::TimedOut));
    QVERIFY(result.failed());
    QVERIFY2(clock.elapsed() >= 280 && clock.elapsed() < 1000,
             qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(stalls.worstMs() < 50, qPrintable(QString::number(stalls.worstMs())));

    // A source that keeps sending past the whole read's deadline fails too.
    source.answers.insert("UTF8_STRING", QByteArray(100, 'z'));
    source.pieceSize = 1;
    source.pieceMs = 50;
    QCOMPARE(int(readOffer(source, {"UTF8_STRING"},
                           [] {
                               ReadLimits limits = testLimits();
                               limits.totalTimeout = 1s;
                               return limits;
                           }())
                     .outcome),
             int(ReadOutcome::TimedOut));
}

void TestOfferRead::slowSourceWithinEachStepIsRead()
{
    // 2 s in all, each piece well within the 300 ms step.
    FakeSource source;
    const QByteArray text = QByteArray("lento, ma arriva; ").repeated(5);
    source.answers.insert("UTF8_STRING", text);
    source.pieceSize = 9;
    source.pieceMs = 150;
    ReadLimits limits = testLimits();
    limits.totalTimeout = 5s;
    QCOMPARE(readOffer(source, {"UTF8_STRING"}, limits).text, QString::fromUtf8(text));
}

void TestOfferRead::abandonKeepsOnlyWholeTexts()
{
    for (const bool whole : {true, false}) {
        FakeSource source;
        source.answers.insert("UTF8_STRING", "intero");
        if (!whole) {
            source.pieceSize = 2;
            source.pieceMs = 1000;
        }
        OfferRead read({"UTF8_STRING"}, source.receive(), testLimits());
        QSignalSpy finished(&read, &OfferRead::finished);
        read.start();
        read.abandon();
        QCOMPARE(finished.size(), 1);
        const ReadResult result = finished.first().first().value<ReadResult>();
        QCOMPARE(int(result.outcome), int(whole ? ReadOutcome::Text : ReadOutcome::Cancelled));
        QCOMPARE(result.text, whole ? QStringLiteral("intero") : QString());
    }
}

void TestOfferRead::pasteArrivesWholeWithoutBlocking()
{
    // Far more than a pipe holds: the writer must wait for the reader.
    QByteArray text = QByteArray("Riga di prova: città, perché ☕\n").repeated(200000);
    int fds[2];
    QVERIFY(::pipe2(fds, O_CLOEXEC) == 0);
    PasteWriter writer(fds[1], text, 10s);
    QSignalSpy finished(&writer, &PasteWriter::finished);
    PipeReader reader(fds[0], testLimits(), ClipText::kMaxBytes);
    QSignalSpy read(&reader, &PipeReader::finished);
    StallMeter stalls;
    QVERIFY(read.wait(10000));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().toBool(), true);
    QVERIFY(reader.bytes().bytes() == text);
    QVERIFY2(stalls.worstMs() < 50, qPrintable(QString::number(stalls.worstMs())));
}

void TestOfferRead::pasteReaderThatLeavesOrStallsEndsThePaste()
{
    PasteWriter::ignoreBrokenPipesOnThisThread();
    const QByteArray text(4 * 1024 * 1024, 'p');
    for (const bool leaves : {true, false}) {
        int fds[2];
        QVERIFY(::pipe2(fds, O_CLOEXEC) == 0);
        if (leaves)
            ::close(fds[0]);
        QElapsedTimer clock;
        clock.start();
        PasteWriter writer(fds[1], text, 400ms);
        QSignalSpy finished(&writer, &PasteWriter::finished);
        StallMeter stalls;
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY2(leaves ? clock.elapsed() < 300 : clock.elapsed() >= 380,
                 qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(stalls.worstMs() < 50, qPrintable(QString::number(stalls.worstMs())));
        if (!leaves)
            ::close(fds[0]);
    }
}

QTEST_GUILESS_MAIN(TestOfferRead)
#include "tst_offerread.moc"
