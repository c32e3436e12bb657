// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

class TestSettingsStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void textsRoundTrip_data();
    void textsRoundTrip();
    void missingKeyReadsDefault();
    void handEditedList();
    void unwritableFileReportsFailure_data();
    void unwritableFileReportsFailure();
    void malformedFileReportsOnlyAFailedWrite_data();
    void malformedFileReportsOnlyAFailedWrite();

private:
    QTemporaryDir m_dir;
};

void TestSettingsStore::textsRoundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("True") << QStringLiteral("True");
    QTest::newRow("minus one") << QStringLiteral("-1");
    QTest::newRow("empty") << QString();
    QTest::newRow("leading blank") << QStringLiteral(" 5");
    QTest::newRow("leading zero") << QStringLiteral("0700");
    QTest::newRow("comma") << QStringLiteral("a,b");
    QTest::newRow("italian") << QStringLiteral("è più");
}

void TestSettingsStore::textsRoundTrip()
{
    QFETCH(QString, value);
    const QString path = m_dir.filePath(QStringLiteral("rt.ini"));
    {
        SettingsStore store(path);
        store.SaveSetting(QStringLiteral("Altro"), QStringLiteral("Ref"), value);
        QVERIFY(store.flush());
    }
    SettingsStore again(path);
    QCOMPARE(again.GetSetting(QStringLiteral("Altro"), QStringLiteral("Ref")), value);
}

void TestSettingsStore::missingKeyReadsDefault()
{
    SettingsStore store(m_dir.filePath(QStringLiteral("missing.ini")));
    QCOMPARE(store.GetSetting(QStringLiteral("Posizione"), QStringLiteral("Sin")),
             QStringLiteral("-1"));
    // Keys are case-sensitive: another spelling is another key.
    store.SaveSetting(QStringLiteral("Altro"), QStringLiteral("Ref"), QStringLiteral("5"));
    QCOMPARE(store.GetSetting(QStringLiteral("Altro"), QStringLiteral("ref")),
             QStringLiteral("-1"));
}

void TestSettingsStore::handEditedList()
{
    const QString path = m_dir.filePath(QStringLiteral("hand.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Altro]\nRef=a,b\nConfUsc=\n");
    file.close();
    SettingsStore store(path);
    QCOMPARE(store.GetSetting(QStringLiteral("Altro"), QStringLiteral("Ref")),
             QStringLiteral("a,b"));
    QCOMPARE(store.GetSetting(QStringLiteral("Altro"), QStringLiteral("ConfUsc")), QString());
}

void TestSettingsStore::unwritableFileReportsFailure_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder") << "folder" << QStringLiteral("al suo posto c'è una cartella");
    QTest::newRow("pipe") << "pipe" << QStringLiteral("non è un file ordinario");
    QTest::newRow("read-only file") << "read-only" << QStringLiteral("il file è in sola lettura");
}

void TestSettingsStore::unwritableFileReportsFailure()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    if (kind == QLatin1String("read-only") && ::geteuid() == 0)
        QSKIP("root writes read-only files");
    const QString path = m_dir.filePath(kind + QStringLiteral(".ini"));
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else if (kind == QLatin1String("pipe"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
        QVERIFY(QFile(path).open(QIODevice::WriteOnly) &&
                QFile::setPermissions(path, QFile::ReadOwner));

    // A pipe is not read (that would wait for a writer): the run keeps its
    // settings in memory, and nothing is written there.
    SettingsStore store(path);
    QCOMPARE(store.GetSetting(QStringLiteral("Altro"), QStringLiteral("Ref")), "-1");
    store.SaveSetting(QStringLiteral("Altro"), QStringLiteral("Ref"), QStringLiteral("700"));
    QCOMPARE(store.GetSetting(QStringLiteral("Altro"), QStringLiteral("Ref")), "700");
    QVERIFY(!store.flush());
    QCOMPARE(store.failureReason(), reason);
    QCOMPARE(QFileInfo(path).isFile(), kind == QLatin1String("read-only"));
}

void TestSettingsStore::malformedFileReportsOnlyAFailedWrite_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("writable");
    // A section never closed is found at once; a key without a value only
    // when the write parses the whole file.
    QTest::newRow("open section, written") << QByteArray("[Altro\nRef=5\n") << true;
    QTest::newRow("bare key, written") << QByteArray("[Altro]\nRef\n") << true;
    QTest::newRow("open section, folder in its place") << QByteArray("[Altro\nRef=5\n") << false;
}

void TestSettingsStore::malformedFileReportsOnlyAFailedWrite()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, writable);
    const QString path =
        m_dir.filePath(QStringLiteral("malformed-%1.ini").arg(QTest::currentDataTag()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();

    SettingsStore store(path);
    store.SaveSetting(QStringLiteral("Altro"), QStringLiteral("ConfUsc"), QStringLiteral("0"));
    if (!writable)
        QVERIFY(QFile::remove(path) && QDir().mkpath(path));
    QCOMPARE(store.flush(), writable);
    QCOMPARE(store.failureReason(),
             writable ? QString() : QStringLiteral("al suo posto c'è una cartella"));
    if (writable) {
        SettingsStore again(path);
        QCOMPARE(again.GetSetting(QStringLiteral("Altro"), QStringLiteral("ConfUsc")), "0");
    }
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
