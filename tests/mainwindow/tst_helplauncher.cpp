// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeplatform.h"
#include "helplauncher.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

class TestHelpLauncher : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsOpenerOnPage_data();
    void startsOpenerOnPage();
    void relativeFolderGivesAbsolutePath();
    void everyRequestStartsItsOwnProcess();
    void failureShowsMessageOnly_data();
    void failureShowsMessageOnly();
    void findsHelpFolder_data();
    void findsHelpFolder();
    void pagesAreCopiedIntoBuildTree();
    void pagesAreUtf8AndLinksResolve_data();
    void pagesAreUtf8AndLinksResolve();

private:
    static QStringList helpFiles();
};

namespace {

// Writes the four pages into @p folder, made if missing.
void writePages(const QString &folder)
{
    QDir().mkpath(folder);
    for (const char *page : {"index.html", "1.html", "2.html", "3.html"}) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(page));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

} // namespace

QStringList TestHelpLauncher::helpFiles()
{
    return {QStringLiteral("index.html"), QStringLiteral("1.html"), QStringLiteral("2.html"),
            QStringLiteral("3.html"), QStringLiteral("guida.css")};
}

void TestHelpLauncher::startsOpenerOnPage_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("page");

    const QString plain = QStringLiteral("/usr/share/scrivel/guida");
    QTest::newRow("contents") << plain << 0 << plain + QStringLiteral("/index.html");
    QTest::newRow("entry editor") << plain << 1 << plain + QStringLiteral("/1.html");
    QTest::newRow("options") << plain << 2 << plain + QStringLiteral("/2.html");
    QTest::newRow("credits") << plain << 3 << plain + QStringLiteral("/3.html");
    QTest::newRow("unknown topic above") << plain << 4 << plain + QStringLiteral("/index.html");
    QTest::newRow("unknown topic below") << plain << -1 << plain + QStringLiteral("/index.html");

    const QString blanks = QStringLiteral("/home/anna/I miei programmi/Scrivel v5/guida");
    QTest::newRow("blanks, contents") << blanks << 0 << blanks + QStringLiteral("/index.html");
    QTest::newRow("blanks, options") << blanks << 2 << blanks + QStringLiteral("/2.html");
    QTest::newRow("trailing slash")
        << plain + QLatin1Char('/') << 3 << plain + QStringLiteral("/3.html");
}

void TestHelpLauncher::startsOpenerOnPage()
{
    QFETCH(QString, folder);
    QFETCH(int, topic);
    QFETCH(QString, page);

    FakePlatform fake;
    const QString root = fake.dir.path();
    writePages(root + folder);
    HelpLauncher help(fake.processes, fake.messages, root + folder);
    help.openHelp(topic);

    QCOMPARE(fake.processes.starts.size(), 1);
    QCOMPARE(fake.processes.starts[0].program, QStringLiteral("xdg-open"));
    // One argument, as is: no quotes around a path with blanks.
    QCOMPARE(fake.processes.starts[0].arguments, QStringList{root + page});
    QVERIFY(fake.messages.calls.isEmpty());
}

void TestHelpLauncher::relativeFolderGivesAbsolutePath()
{
    // A relative page path could start with "-" and pass for an option.
    FakePlatform fake;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(fake.dir.path()));
    writePages(QStringLiteral("-guida"));
    HelpLauncher help(fake.processes, fake.messages, QStringLiteral("-guida"));
    help.openHelp(1);
    const QString expected = QDir::current().absoluteFilePath(QStringLiteral("-guida/1.html"));
    QDir::setCurrent(before);

    QCOMPARE(fake.processes.starts.size(), 1);
    const QString argument = fake.processes.starts[0].arguments.value(0);
    QVERIFY2(argument.startsWith(QLatin1Char('/')), qPrintable(argument));
    QCOMPARE(argument, expected);
}

void TestHelpLauncher::everyRequestStartsItsOwnProcess()
{
    FakePlatform fake;
    HelpLauncher help(fake.processes, fake.messages, fake.helpFolder());
    help.openHelp(0);
    help.openHelp(0);
    help.openHelp(2);

    QCOMPARE(fake.processes.starts.size(), 3);
    QCOMPARE(fake.processes.starts[0].arguments, fake.processes.starts[1].arguments);
    QCOMPARE(fake.processes.starts[2].arguments,
             QStringList{fake.helpFolder() + QStringLiteral("/2.html")});
}

void TestHelpLauncher::failureShowsMessageOnly_data()
{
    QTest::addColumn<int>("topic");
    QTest::newRow("contents") << 0;
    QTest::newRow("entry editor") << 1;
    QTest::newRow("options") << 2;
    QTest::newRow("credits") << 3;
}

void TestHelpLauncher::failureShowsMessageOnly()
{
    QFETCH(int, topic);

    FakePlatform fake;
    fake.processes.failing = true;
    HelpLauncher help(fake.processes, fake.messages, fake.helpFolder());
    help.openHelp(topic);

    QCOMPARE(fake.messages.calls.size(), 1);
    const auto &box = fake.messages.calls[0];
    QCOMPARE(box.text, QStringLiteral("Impossibile trovare xdg-open; controllare di averlo "
                                      "installato (pacchetto xdg-utils) e di non averlo "
                                      "rimosso!\r\nSe non è installato, scaricarlo dal sito "
                                      "https://www.freedesktop.org/wiki/Software/xdg-utils/"));
    QCOMPARE(box.style, 16);
    QVERIFY(box.title.isEmpty());
    QVERIFY(fake.processes.starts.isEmpty());

    // The launcher stays usable once the opener is back.
    fake.processes.failing = false;
    help.openHelp(topic);
    QCOMPARE(fake.processes.starts.size(), 1);
    QCOMPARE(fake.messages.calls.size(), 1);

    // A missing page is reported the same way, naming the page; the opener
    // is not started on it.
    const QString page = help.pagePath(topic);
    QVERIFY(QFile::remove(page));
    help.openHelp(topic);
    QCOMPARE(fake.processes.starts.size(), 1);
    QCOMPARE(fake.messages.calls.size(), 2);
    QCOMPARE(fake.messages.calls[1].text,
             QStringLiteral("Impossibile trovare %1; controllare di averlo installato (pacchetto "
                            "scrivel) e di non averlo rimosso!\r\nSe non è installato, "
                            "reinstallare il pacchetto scrivel.")
                 .arg(page));
    QCOMPARE(fake.messages.calls[1].style, 16);
}

void TestHelpLauncher::findsHelpFolder_data()
{
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<bool>("beside");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("expectInstalled");

    const QString bin = QStringLiteral("bin");
    const QString blanks = QStringLiteral("Programmi utente/bin");
    QTest::newRow("beside only") << bin << true << false << false;
    QTest::newRow("installed only") << bin << false << true << true;
    QTest::newRow("both: beside wins") << bin << true << true << false;
    QTest::newRow("neither: beside") << bin << false << false << false;
    QTest::newRow("blanks, installed only") << blanks << false << true << true;
}

void TestHelpLauncher::findsHelpFolder()
{
    QFETCH(QString, programDir);
    QFETCH(bool, beside);
    QFETCH(bool, installed);
    QFETCH(bool, expectInstalled);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QDir program(root.filePath(programDir));
    QVERIFY(QDir().mkpath(program.path()));
    const QString besidePath = QDir::cleanPath(program.absoluteFilePath(QStringLiteral("guida")));
    const QString installedPath = QDir::cleanPath(program.absoluteFilePath(
        QStringLiteral(SCRIVEL_DATA_RELATIVE_DIR) + QStringLiteral("/guida")));
    if (beside)
        QVERIFY(QDir().mkpath(besidePath));
    if (installed)
        QVERIFY(QDir().mkpath(installedPath));
    // A plain file named like the folder does not count as the folder.
    if (!beside)
        QVERIFY(QFile(besidePath).open(QIODevice::WriteOnly));

    QCOMPARE(HelpLauncher::helpFolderFor(program.path()),
             expectInstalled ? installedPath : besidePath);
}

void TestHelpLauncher::pagesAreCopiedIntoBuildTree()
{
    const QDir source(QStringLiteral(SCRIVEL_HELP_SOURCE_DIR));
    const QDir built(QStringLiteral(SCRIVEL_HELP_BUILD_DIR));
    for (const QString &name : helpFiles()) {
        QFile original(source.filePath(name));
        QFile copy(built.filePath(name));
        QVERIFY2(original.open(QIODevice::ReadOnly), qPrintable(original.fileName()));
        QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(copy.fileName()));
        QVERIFY2(original.readAll() == copy.readAll(), qPrintable(name));
    }
    // The program in the build tree finds the copied pages.
    QFileInfo bin(QStringLiteral(SCRIVEL_HELP_BUILD_DIR "/.."));
    QCOMPARE(HelpLauncher::helpFolderFor(bin.absoluteFilePath()),
             QDir::cleanPath(built.absolutePath()));
}

void TestHelpLauncher::pagesAreUtf8AndLinksResolve_data()
{
    QTest::addColumn<QString>("page");
    for (const QString &name : helpFiles()) {
        if (name.endsWith(QStringLiteral(".html")))
            QTest::newRow(qPrintable(name)) << name;
    }
}

void TestHelpLauncher::pagesAreUtf8AndLinksResolve()
{
    QFETCH(QString, page);

    const QDir source(QStringLiteral(SCRIVEL_HELP_SOURCE_DIR));
    auto readPage = [&](const QString &name, QString *text) {
        QFile file(source.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return false;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        *text = utf8(file.readAll());
        return !utf8.hasError();
    };

    QString text;
    QVERIFY2(readPage(page, &text), "unreadable or not UTF-8");
    QVERIFY(text.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    QVERIFY(text.contains(QStringLiteral("href=\"guida.css\"")));

    // Every local link names a shipped file and, where it has one, an anchor
    // that exists in that file.
    static const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
    for (auto it = link.globalMatch(text); it.hasNext();) {
        const QString target = it.next().captured(1);
        if (target.contains(QStringLiteral("://")))
            continue;
        const qsizetype hash = target.indexOf(QLatin1Char('#'));
        const QString file = hash < 0 ? target : target.left(hash);
        const QString anchor = hash < 0 ? QString() : target.mid(hash + 1);
        const QString targetFile = file.isEmpty() ? page : file;
        QVERIFY2(helpFiles().contains(targetFile), qPrintable(target));
        if (!anchor.isEmpty()) {
            QString targetText;
            QVERIFY(readPage(targetFile, &targetText));
            QVERIFY2(targetText.contains(QStringLiteral("id=\"%1\"").arg(anchor)),
                     qPrintable(target));
        }
    }
}

QTEST_GUILESS_MAIN(TestHelpLauncher)
#include "tst_helplauncher.moc"
