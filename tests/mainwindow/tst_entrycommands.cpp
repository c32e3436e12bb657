// SPDX-License-Identifier: GPL-3.0-or-later
#include "alwaysontop.h"
#include "contentbox.h"
#include "entrycommands.h"
#include "entryfixture.h"
#include "form2.h"
#include "namebox.h"
#include "selectedrow.h"

#include <QPushButton>
#include <QTest>

namespace {

using EmptyFrom = EntryCommands::EmptyFrom;

const QString kUnavailable = FakeClipboard::kUnavailableMessage;

QString deleteQuestion(const QString &preview)
{
    return QStringLiteral("Affinché si possa eliminare questo elemento della lista occorre "
                          "svuotare gli Scrivel di sistema.\r\rParte iniziale del contenuto degli "
                          "Scrivel di sistema: \r") +
           preview + QStringLiteral("\r\rContinuare?");
}

QString emptyQuestion(const QString &second, const QString &preview)
{
    return QStringLiteral("Affinché si possano eliminare tutti gli elementi della lista occorre "
                          "svuotare gli Scrivel di sistema.\r\r") +
           second +
           QStringLiteral("\r\rParte iniziale del contenuto degli Scrivel di sistema: \r") +
           preview + QStringLiteral("\r\rSvuotare gli Scrivel di sistema?");
}

const QString kOneLeft = QStringLiteral(
    "Se non si desidera svuotare gli Scrivel di sistema, nella lista resterà un elemento.");
const QString kOnlyOneLeft = QStringLiteral(
    "Se non si desidera svuotare gli Scrivel di sistema, nella lista resterà un solo elemento.");

// Runs the empty-history operation from one of its three entry points.
void emptyFrom(EntryFixture &f, EmptyFrom from)
{
    switch (from) {
    case EmptyFrom::TrayMenu:
        f.menus().mnuSvLP->trigger();
        break;
    case EmptyFrom::ListMenu:
        f.menus().eliminatutti->trigger();
        break;
    case EmptyFrom::Toolbar:
        f.form->Toolbar1->button(3)->click();
        break;
    }
}

// A clipboard that another program changes right after the next read.
class ChangingClipboard : public FakeClipboard
{
public:
    QString nextText;
    Reading readNow() override
    {
        const Reading reading = FakeClipboard::readNow();
        if (!nextText.isNull())
            copy(std::exchange(nextText, QString()));
        return reading;
    }
};

} // namespace

Q_DECLARE_METATYPE(EntryCommands::EmptyFrom)

class TestEntryCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void copyBackPutsContentNotName();
    void deleteDifferentFromClipboardAsksNothing();
    void deleteAtIndexOneOfFive();
    void deleteEqualToClipboardAsks_data();
    void deleteEqualToClipboardAsks();
    void questionPreviewIsReadWhenAsked();
    void deleteOnlyEntryDisablesButtons();
    void deleteCheckedEmptiesClipboardWithoutAsking();
    void emptyHistory_data();
    void emptyHistory();
    void emptyHistoryAvailabilityCheck_data();
    void emptyHistoryAvailabilityCheck();
    void mergeLinesThreeAndOne();
    void mergeWithIntervalZeroTellsWhere();
    void topmostAfterEveryQuestion_data();
    void topmostAfterEveryQuestion();
    void editorEditsSelectedEntry();
    void viewShowsClipboardReadOnly();
    void clearClipboard();
    void unavailableClipboard_data();
    void unavailableClipboard();
    void commandWhileAnotherWaitsIsIgnored();
};

void TestEntryCommands::copyBackPutsContentNotName()
{
    EntryFixture f({"uno", "due"});
    f.store().updateEntry(1, QStringLiteral("nome"), QStringLiteral("contenuto: è ☕ 😀 שלום"));
    f.form->copianegliscrivel_Click(); // no selection
    QCOMPARE(f.clipboard().writes(), 0);
    f.select(1);
    f.form->copianegliscrivel_Click();
    QCOMPARE(f.clipboard().text(), QStringLiteral("contenuto: è ☕ 😀 שלום"));
    QCOMPARE(f.clipboard().clears(), 0);
    QVERIFY(f.messages().calls.isEmpty());
}

void TestEntryCommands::deleteDifferentFromClipboardAsksNothing()
{
    EntryFixture f({"uno", "due"});
    f.clipboard().copy(QStringLiteral("altro"));
    f.select(0);
    f.form->elimina_Click();
    QVERIFY(f.messages().calls.isEmpty());
    QCOMPARE(f.names(), QStringList{"due"});
    QCOMPARE(f.clipboard().text(), QStringLiteral("altro"));
    QCOMPARE(f.clipboard().writes(), 0);
    // A removal leaves no line selected: a second delete does nothing.
    QCOMPARE(f.list().currentRow(), -1);
    f.form->elimina_Click();
    QCOMPARE(f.names(), QStringList{"due"});
}

void TestEntryCommands::deleteAtIndexOneOfFive()
{
    const QString longText = QString(70, QLatin1Char('c'));
    EntryFixture f({"a", "b", longText, "d", "e"});
    f.store().updateEntry(3, QStringLiteral("nome d"), QStringLiteral("d"));
    f.check({2, 4});
    f.select(1);
    f.form->elimina_Click();
    QCOMPARE(f.names(), QStringList({"a", longText, "nome d", "e"}));
    QCOMPARE(f.contents(), QStringList({"a", longText, "d", "e"}));
    QCOMPARE(f.captions(), QStringList({"a", longText.left(60) + "...", "nome d", "e"}));
    QVERIFY(f.store().isChecked(1));
    QVERIFY(!f.store().isChecked(2));
    QVERIFY(f.store().isChecked(3));
}

void TestEntryCommands::deleteEqualToClipboardAsks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("answer");
    const QString longText = QString(150, QLatin1Char('x')) + QString(100, QLatin1Char('y'));
    QTest::newRow("short, No") << "uguale" << int(MessageBox::No);
    QTest::newRow("short, Yes") << "uguale" << int(MessageBox::Yes);
    QTest::newRow("250 characters, No") << longText << int(MessageBox::No);
    QTest::newRow("250 characters, Yes") << longText << int(MessageBox::Yes);
    const QString accented = QString(150, QChar(0xE8)) + QStringLiteral("😀").repeated(60);
    QTest::newRow("accents and emoji, Yes") << accented << int(MessageBox::Yes);
}

void TestEntryCommands::deleteEqualToClipboardAsks()
{
    QFETCH(QString, text);
    QFETCH(int, answer);
    EntryFixture f({"prima", text, "dopo"});
    f.clipboard().copy(text);
    f.select(1);
    f.messages().answer({answer});
    f.form->elimina_Click();

    QCOMPARE(f.messages().calls.size(), 1);
    QCOMPARE(f.messages().calls[0].text, deleteQuestion(text.left(200)));
    QCOMPARE(f.messages().calls[0].style, 36);
    QCOMPARE(f.messages().calls[0].title, QString());
    if (answer == MessageBox::No) {
        QCOMPARE(f.names(), QStringList({"prima", text, "dopo"}));
        QCOMPARE(f.clipboard().text(), text);
        QCOMPARE(f.clipboard().writes(), 0);
        return;
    }
    QCOMPARE(f.names(), QStringList({"prima", "dopo"}));
    QCOMPARE(f.clipboard().text(), QString());
    // The next poll finds nothing to bring back.
    f.form->Timer1_Timer();
    QCOMPARE(f.names(), QStringList({"prima", "dopo"}));
}

void TestEntryCommands::questionPreviewIsReadWhenAsked()
{
    ChangingClipboard clipboard;
    FakePlatform fake;
    Platform platform{clipboard,   fake.messages,  fake.modals,           fake.processes,
                      fake.screen, *fake.settings, fake.notificationArea, fake.memory};
    Form1 form(platform, {}, fake.dir.path());
    form.store().appendEntry(QByteArrayLiteral("uno"));
    clipboard.copy(QStringLiteral("uno"));
    clipboard.nextText = QStringLiteral("copiato nel frattempo");
    form.List1->setCurrentRow(0);
    fake.messages.answer({MessageBox::No});
    form.elimina_Click();
    QCOMPARE(fake.messages.calls.size(), 1);
    QCOMPARE(fake.messages.calls[0].text, deleteQuestion(QStringLiteral("copiato nel frattempo")));
}

void TestEntryCommands::deleteOnlyEntryDisablesButtons()
{
    EntryFixture f({"solo"});
    f.select(0);
    QCOMPARE(f.selectionButtons(), kEnabled);
    f.form->elimina_Click();
    QCOMPARE(f.store().count(), 0);
    QCOMPARE(f.selectionButtons(), kDisabled);
    QCOMPARE(f.captions(), QStringList());
    QVERIFY(!f.form->trayMenu().mnulista(0)->isVisible());
}

void TestEntryCommands::deleteCheckedEmptiesClipboardWithoutAsking()
{
    EntryFixture f({"a", "b", "c", "d", "e"});
    f.clipboard().copy(QStringLiteral("c"));
    f.check({0, 2, 3});
    f.select(4);
    f.form->mnuEliminaSpuntati_Click();
    QVERIFY(f.messages().calls.isEmpty());
    QCOMPARE(f.names(), QStringList({"b", "e"}));
    // The selected unchecked line stays selected where it moved to.
    QCOMPARE(selectedRow(f.list()), 1);
    QCOMPARE(f.selectionButtons(), kEnabled);
    QCOMPARE(f.captions(), QStringList({"b", "e"}));
    QCOMPARE(f.clipboard().text(), QString());
    QCOMPARE(f.clipboard().writes(), 1);
    QVERIFY(!f.store().isChecked(0));
    QVERIFY(!f.store().isChecked(1));

    // Nothing checked: nothing happens.
    f.form->mnuEliminaSpuntati_Click();
    QCOMPARE(f.names(), QStringList({"b", "e"}));
}

void TestEntryCommands::emptyHistory_data()
{
    QTest::addColumn<EmptyFrom>("from");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("answer");
    const struct
    {
        const char *name;
        EmptyFrom from;
        QString second;
    } points[] = {{"tray", EmptyFrom::TrayMenu, kOneLeft},
                  {"list menu", EmptyFrom::ListMenu, kOnlyOneLeft},
                  {"toolbar", EmptyFrom::Toolbar, kOneLeft}};
    for (const auto &p : points) {
        QTest::addRow("%s, empty clipboard", p.name) << p.from << p.second << 0;
        QTest::addRow("%s, Yes", p.name) << p.from << p.second << int(MessageBox::Yes);
        QTest::addRow("%s, No", p.name) << p.from << p.second << int(MessageBox::No);
        QTest::addRow("%s, Cancel", p.name) << p.from << p.second << int(MessageBox::Cancel);
    }
}

void TestEntryCommands::emptyHistory()
{
    QFETCH(EmptyFrom, from);
    QFETCH(QString, second);
    QFETCH(int, answer);
    EntryFixture f({"uno", "due", "tre"});
    const QString clip = answer ? QString(210, QLatin1Char('z')) : QString();
    f.clipboard().copy(clip);
    f.select(1);
    f.check({0});
    if (answer)
        f.messages().answer({answer});
    emptyFrom(f, from);

    if (!answer) {
        QVERIFY(f.messages().calls.isEmpty());
    } else {
        QCOMPARE(f.messages().calls.size(), 1);
        QCOMPARE(f.messages().calls[0].text, emptyQuestion(second, clip.left(200)));
        QCOMPARE(f.messages().calls[0].style, 35);
    }
    if (answer == MessageBox::Cancel) {
        QCOMPARE(f.names(), QStringList({"uno", "due", "tre"}));
        QCOMPARE(f.captions(), QStringList({"uno", "due", "tre"}));
        QVERIFY(f.store().isChecked(0));
        QCOMPARE(f.clipboard().text(), clip);
        QCOMPARE(f.selectionButtons(), kEnabled);
        return;
    }
    QCOMPARE(f.store().count(), 0);
    QCOMPARE(f.captions(), QStringList());
    QCOMPARE(f.selectionButtons(), kDisabled);
    QCOMPARE(f.clipboard().text(), answer == MessageBox::Yes ? QString() : clip);

    f.form->Timer1_Timer();
    QCOMPARE(f.names(), answer == MessageBox::No ? QStringList{clip} : QStringList());
}

void TestEntryCommands::emptyHistoryAvailabilityCheck_data()
{
    QTest::addColumn<EmptyFrom>("from");
    QTest::addColumn<bool>("refused");
    QTest::newRow("tray") << EmptyFrom::TrayMenu << true;
    QTest::newRow("list menu") << EmptyFrom::ListMenu << false;
    QTest::newRow("toolbar") << EmptyFrom::Toolbar << true;
}

void TestEntryCommands::emptyHistoryAvailabilityCheck()
{
    QFETCH(EmptyFrom, from);
    QFETCH(bool, refused);
    EntryFixture f({"uno", "due"});
    f.select(0);
    // A failed poll disables the list; the clipboard answers again afterwards.
    f.clipboard().setUnavailable(true);
    f.form->Timer1_Timer();
    QVERIFY(!f.list().isEnabled());
    f.clipboard().setUnavailable(false);

    emptyFrom(f, from);
    if (refused) {
        QCOMPARE(f.messages().calls.size(), 1);
        QCOMPARE(f.messages().calls[0].text, kUnavailable);
        QCOMPARE(f.messages().calls[0].style, 48);
        QCOMPARE(f.names(), QStringList({"uno", "due"}));
        QCOMPARE(f.selectionButtons(), kEnabled);
    } else {
        QVERIFY(f.messages().calls.isEmpty());
        QCOMPARE(f.store().count(), 0);
        QCOMPARE(f.selectionButtons(), kDisabled);
    }
}

void TestEntryCommands::mergeLinesThreeAndOne()
{
    EntryFixture f({"città", "due", "tre"});
    f.store().updateEntry(2, QStringLiteral("TRÈ ☕"), QStringLiteral("tre"));
    f.check({2});
    f.check({0});
    f.form->mnuFondi_Click();
    QCOMPARE(f.clipboard().text(), QStringLiteral("cittàTRÈ ☕"));
    QVERIFY(f.messages().calls.isEmpty());
    QVERIFY(f.store().isChecked(0));
    QVERIFY(f.store().isChecked(2));
    f.form->Timer1_Timer();
    QCOMPARE(f.names(), QStringList({"città", "due", "TRÈ ☕", "cittàTRÈ ☕"}));
}

void TestEntryCommands::mergeWithIntervalZeroTellsWhere()
{
    EntryFixture f({"uno", "due"});
    f.form->monitor().setInterval(0);
    f.check({0, 1});
    f.form->mnuFondi_Click();
    QCOMPARE(f.clipboard().text(), QStringLiteral("unodue"));
    QCOMPARE(f.messages().calls.size(), 1);
    QCOMPARE(f.messages().calls[0].text,
             QStringLiteral("Il risultato della fusione si trova negli Scrivel di sistema"));
    QCOMPARE(f.messages().calls[0].style, 64);
}

void TestEntryCommands::topmostAfterEveryQuestion_data()
{
    QTest::addColumn<bool>("onTop");
    QTest::newRow("always on top") << true;
    QTest::newRow("normal window") << false;
}

void TestEntryCommands::topmostAfterEveryQuestion()
{
    QFETCH(bool, onTop);
    EntryFixture f({"uno", "due", "tre", "quattro"});
    f.menus().mnutopmost->setChecked(onTop);
    f.form->alwaysOnTop().apply(onTop);
    QList<bool> shownOnTop;
    f.messages().onShow = [&](const ScriptedMessageBox::Call &) { shownOnTop << f.onTop(); };
    f.fake.modals.onShow = [&](QDialog &) {
        shownOnTop << f.onTop();
        return 0;
    };
    const auto steps = QList<std::function<void()>>{
        [&] {
            f.clipboard().copy(QStringLiteral("uno"));
            f.select(0);
            f.messages().answer({MessageBox::No});
            f.form->elimina_Click();
        },
        [&] {
            f.select(0);
            f.messages().answer({MessageBox::Yes});
            f.form->elimina_Click();
        },
        [&] {
            f.clipboard().copy(QStringLiteral("altro"));
            f.messages().answer({MessageBox::Cancel});
            f.form->eliminatutti_Click();
        },
        [&] {
            f.form->monitor().setInterval(0);
            f.check({1});
            f.form->mnuFondi_Click();
        },
        [&] {
            f.select(1);
            f.form->visualizza_Click();
        },
        [&] { f.form->visscr_Click(); },
    };
    for (const auto &step : steps) {
        step();
        QCOMPARE(f.onTop(), onTop);
    }
    QCOMPARE(shownOnTop, QList<bool>(6, false));
}

void TestEntryCommands::editorEditsSelectedEntry()
{
    EntryFixture f({"uno", "due"});
    f.form->visualizza_Click(); // no selection
    QCOMPARE(f.fake.modals.shown, 0);

    f.store().updateEntry(1, QStringLiteral("nome"), QStringLiteral("contenuto"));
    f.select(1);
    f.fake.modals.onShow = [](QDialog &dialog) {
        auto &editor = dynamic_cast<Form2 &>(dialog);
        if (editor.Text2->text() != QLatin1String("nome") ||
            editor.Text1->text() != QLatin1String("contenuto") || !editor.Text2->isEnabled())
            return -1;
        editor.Text2->setText(QStringLiteral("rinominato"));
        editor.Command1->click();
        return 0;
    };
    f.form->visualizza_Click();
    QCOMPARE(f.fake.modals.shown, 1);
    QCOMPARE(f.messages().calls.size(), 1);
    QCOMPARE(f.names(), QStringList({"uno", "rinominato"}));
    QCOMPARE(f.contents(), QStringList({"uno", "contenuto"}));
}

void TestEntryCommands::viewShowsClipboardReadOnly()
{
    EntryFixture f({"uno"});
    f.clipboard().copy(QStringLiteral("testo degli appunti"));
    bool viewMode = false;
    f.fake.modals.onShow = [&](QDialog &dialog) {
        auto &viewer = dynamic_cast<Form2 &>(dialog);
        viewMode = !viewer.Text2->isEnabled() &&
                   viewer.Text2->text() == QLatin1String("Scrivel di sistema") &&
                   viewer.Text1->isReadOnly() &&
                   viewer.Text1->text() == QLatin1String("testo degli appunti");
        viewer.Command1->click();
        return 0;
    };
    for (QAction *item : {f.menus().visscr, f.menus().visscrivel}) {
        viewMode = false;
        item->trigger();
        QVERIFY(viewMode);
    }
    QCOMPARE(f.fake.modals.shown, 2);
    QVERIFY(f.messages().calls.isEmpty());
    QCOMPARE(f.names(), QStringList{"uno"});
}

void TestEntryCommands::clearClipboard()
{
    EntryFixture f({"uno"});
    for (QAction *item : {f.menus().svuotascrivel, f.menus().svoia}) {
        f.clipboard().copy(QStringLiteral("uno"));
        item->trigger();
        QCOMPARE(f.clipboard().text(), QString());
    }
    QCOMPARE(f.clipboard().clears(), 2);
    QCOMPARE(f.names(), QStringList{"uno"});
}

void TestEntryCommands::unavailableClipboard_data()
{
    QTest::addColumn<QString>("command");
    for (const char *name :
         {"copianegliscrivel", "elimina", "elimina asking", "mnuEliminaSpuntati", "mnuFondi",
          "eliminatutti", "visscr", "visscrivel", "svuotascrivel", "svoia", "List1 double-click"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestEntryCommands::unavailableClipboard()
{
    QFETCH(QString, command);
    EntryFixture f({"uno", "due", "tre"});
    f.clipboard().copy(QStringLiteral("due"));
    f.select(1);
    f.check({1, 2});
    QStringList names = f.names();
    if (command == QLatin1String("elimina asking")) {
        // The clipboard stops answering while the question is open.
        f.messages().onShow = [&](const ScriptedMessageBox::Call &) {
            f.clipboard().setUnavailable(true);
        };
        f.form->elimina_Click();
        QCOMPARE(f.messages().calls.size(), 2);
    } else {
        f.clipboard().setUnavailable(true);
        if (command == QLatin1String("List1 double-click"))
            f.form->List1_DblClick();
        else
            QVERIFY(QMetaObject::invokeMethod(f.form.get(), qPrintable(command + "_Click")));
        QCOMPARE(f.messages().calls.size(), 1);
    }
    QCOMPARE(f.messages().calls.last().text, kUnavailable);
    QCOMPARE(f.messages().calls.last().style, 48);
    QCOMPARE(f.names(), names);
    QCOMPARE(f.fake.modals.shown, 0);
}

void TestEntryCommands::commandWhileAnotherWaitsIsIgnored()
{
    EntryFixture f({"uno", "due"});
    f.clipboard().copy(QStringLiteral("uno"));
    f.select(0);
    f.messages().onShow = [&](const ScriptedMessageBox::Call &) {
        // Another delete and an emptying arrive while the question is open.
        f.form->eliminatutti_Click();
        f.form->mnuSvLP_Click();
    };
    f.messages().answer({MessageBox::Yes});
    f.form->elimina_Click();
    QCOMPARE(f.messages().calls.size(), 1);
    QCOMPARE(f.names(), QStringList{"due"});
    QVERIFY(!f.form->entries().isRunning());
}

QTEST_MAIN(TestEntryCommands)
#include "tst_entrycommands.moc"
