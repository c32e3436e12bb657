// SPDX-License-Identifier: GPL-3.0-or-later
#include "procmemorystatus.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(MemoryFigures)

namespace {

constexpr qint64 kKiB = 1024;

QByteArray meminfo(qint64 total, qint64 available)
{
    return "MemTotal:       " + QByteArray::number(total) +
           " kB\n"
           "MemFree:          100000 kB\n"
           "MemAvailable:   " +
           QByteArray::number(available) +
           " kB\n"
           "CommitLimit:    12341872 kB\n"
           "Committed_AS:    1017384 kB\n";
}

} // namespace

class TestProcMemoryStatus : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void readsTheFileAtMostOncePerPeriod();
    void readsTheRunningKernel();
};

void TestProcMemoryStatus::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<MemoryFigures>("expected");
    QTest::newRow("kernel text") << meminfo(24683748, 23469764)
                                 << MemoryFigures{24683748 * kKiB, 23469764 * kKiB,
                                                  (12341872 - 1017384) * kKiB};
    QTest::newRow("overcommitted") << QByteArray("MemTotal: 1000 kB\nMemAvailable: 10 kB\n"
                                                 "CommitLimit: 500 kB\nCommitted_AS: 900 kB\n")
                                   << MemoryFigures{1000 * kKiB, 10 * kKiB, 0};
    QTest::newRow("old kernel without MemAvailable")
        << QByteArray("MemTotal: 1000 kB\nMemFree: 300 kB\n")
        << MemoryFigures{1000 * kKiB, 300 * kKiB, 0};
    QTest::newRow("look-alike keys are not taken")
        << QByteArray("MemTotalX: 5 kB\nXMemTotal: 6 kB\nMemTotal: 7 kB\nMemAvailable: bad kB\n")
        << MemoryFigures{7 * kKiB, 0, 0};
    QTest::newRow("no trailing newline, no unit")
        << QByteArray("MemTotal: 4096") << MemoryFigures{4096, 0, 0};
    QTest::newRow("beyond 64 bits saturates")
        << QByteArray("MemTotal: 9223372036854775807 kB\n")
        << MemoryFigures{std::numeric_limits<qint64>::max(), 0, 0};
    QTest::newRow("empty") << QByteArray() << MemoryFigures{};
}

void TestProcMemoryStatus::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(MemoryFigures, expected);
    const MemoryFigures figures = ProcMemoryStatus::parse(text);
    QCOMPARE(figures.totalPhysical, expected.totalPhysical);
    QCOMPARE(figures.availablePhysical, expected.availablePhysical);
    QCOMPARE(figures.availablePageFile, expected.availablePageFile);
}

void TestProcMemoryStatus::readsTheFileAtMostOncePerPeriod()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("meminfo"));
    const auto write = [&](const QByteArray &text) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    };
    write(meminfo(1000, 500));
    ProcMemoryStatus status(path, 200);
    QCOMPARE(status.read().availablePhysical, 500 * kKiB);
    write(meminfo(1000, 400));
    QCOMPARE(status.read().availablePhysical, 500 * kKiB); // still fresh
    QTRY_COMPARE(status.read().availablePhysical, 400 * kKiB);
    QVERIFY(QFile::remove(path));
    QTRY_COMPARE(status.read().totalPhysical, 0); // unreadable: every figure 0
}

void TestProcMemoryStatus::readsTheRunningKernel()
{
    if (!QFile::exists(QStringLiteral("/proc/meminfo")))
        QSKIP("no /proc/meminfo here");
    const MemoryFigures figures = ProcMemoryStatus().read();
    QVERIFY(figures.totalPhysical > 0);
    QVERIFY(figures.availablePhysical > 0);
    QVERIFY(figures.availablePhysical <= figures.totalPhysical);
    QVERIFY(figures.availablePageFile >= 0);
}

QTEST_GUILESS_MAIN(TestProcMemoryStatus)
#include "tst_procmemorystatus.moc"
