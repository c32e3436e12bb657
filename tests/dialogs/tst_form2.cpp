// SPDX-License-Identifier: GPL-3.0-or-later
#include "contentbox.h"
#include "fakeplatform.h"
#include "form2.h"
#include "helplauncher.h"
#include "historystore.h"
#include "historyview.h"
#include "namebox.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <cmath>

namespace {

const QString kQuestion = QStringLiteral("Memorizzare le modifiche?");
const QString kNameAdvice = QStringLiteral("È consigliabile specificare un nome...");

// The history and the settings an editor opens over.
struct Fixture
{
    FakePlatform fake;
    Platform platform{fake.platform()};
    HelpLauncher help{fake.processes, fake.messages, fake.helpFolder()};
    HistoryStore store;
    HistoryView list{store};

    explicit Fixture(const QStringList &texts = {QStringLiteral("primo"),
                                                 QStringLiteral("secondo")})
    {
        for (const QString &text : texts)
            store.appendEntry(text.toUtf8());
    }

    void storeGeometry(const QStringList &values)
    {
        const QStringList keys{"Posizione/SinFA", "Posizione/AltoFA", "Grandezze/LarghFA",
                               "Grandezze/AltFA"};
        for (int i = 0; i < keys.size(); ++i) {
            if (i < values.size() && !values[i].isNull())
                fake.settings->SaveSetting(keys[i].section('/', 0, 0), keys[i].section('/', 1),
                                           values[i]);
        }
    }
    QStringList storedGeometry()
    {
        fake.settings->flush();
        QSettings ini(fake.settingsPath(), QSettings::IniFormat);
        return {ini.value("Posizione/SinFA").toString(), ini.value("Posizione/AltoFA").toString(),
                ini.value("Grandezze/LarghFA").toString(), ini.value("Grandezze/AltFA").toString()};
    }
    // An editor opened on entry `row`, shown as the commands show it.
    std::unique_ptr<Form2> edit(int row)
    {
        list.setCurrentRow(row);
        auto editor = std::make_unique<Form2>(platform, help, store, list);
        editor->fillForEditing(store.readContent(row));
        editor->show();
        return editor;
    }
};

QStringList twipsOf(const QRect &pixels)
{
    return {QString::number(pixels.x() * 15), QString::number(pixels.y() * 15),
            QString::number(pixels.width() * 15), QString::number(pixels.height() * 15)};
}

int px(int twips)
{
    return int(std::lround(twips / 15.0));
}

} // namespace

class TestForm2 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstOpeningWithoutStoredGeometry();
    void storedGeometry_data();
    void storedGeometry();
    void loadFillsAndSelectsName();
    void closingWithoutChangesAsksNothing();
    void changesAsked_data();
    void changesAsked();
    void yesAfterChangingOnlyTheName();
    void longNameBecomesWholeCaption();
    void emptyNameIsRefused();
    void clipboardViewMode();
    void enterClosesCtrlEnterBreaksLineEscDoesNot();
    void typedLineBreaksFollowTheContent();
    void layoutFollowsSize();
    void verySmallWindow();
    void hugeContentShownInPartAndKeptWhole();
    void entryGoneWhileOpen();
    void helpOpensTopicOne();
};

void TestForm2::firstOpeningWithoutStoredGeometry()
{
    Fixture f;
    auto editor = f.edit(0);
    QCOMPARE(editor->size(), QSize(312, 243)); // 4680 × 3645 twips
    QCOMPARE(editor->windowTitle(), QStringLiteral("Contenuto della selezione"));
    editor->move(40, 60);
    const QRect outer = editor->frameGeometry();
    editor->Command1->click();
    QVERIFY(!editor->isVisible());
    QCOMPARE(f.storedGeometry(), twipsOf(outer));
    QVERIFY(f.fake.messages.calls.isEmpty());
}

void TestForm2::storedGeometry_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QRect>("placed"); // none: the first opening's size
    const QString unset;               // a key left out
    const QRect restored(100, 50, 400, 300);
    const QRect none;
    QTest::newRow("all four") << QStringList{"1500", "750", "6000", "4500"} << restored;
    QTest::newRow("with fractions") << QStringList{"1500.4", "750", "6000", "4500"} << restored;
    QTest::newRow("left missing") << QStringList{unset, "750", "6000", "4500"} << none;
    QTest::newRow("top missing") << QStringList{"1500", unset, "6000", "4500"} << none;
    QTest::newRow("width missing") << QStringList{"1500", "750", unset, "4500"} << none;
    QTest::newRow("height missing") << QStringList{"1500", "750", "6000", unset} << none;
    QTest::newRow("one is -1") << QStringList{"1500", "750", "-1", "4500"} << none;
    QTest::newRow("no width") << QStringList{"1500", "750", "0", "4500"} << none;
    QTest::newRow("off every screen") << QStringList{"900000", "900000", "6000", "4500"} << none;
    // At most as wide as the desktop (19200 twips), or the buttons would be out of reach.
    QTest::newRow("wider than the desktop")
        << QStringList{"1500", "750", "999999999", "4500"} << QRect(100, 50, 1280, 300);
}

void TestForm2::storedGeometry()
{
    QFETCH(QStringList, stored);
    QFETCH(QRect, placed);
    Fixture f;
    f.storeGeometry(stored);
    auto editor = f.edit(0);
    if (placed.isValid()) {
        QCOMPARE(editor->frameGeometry(), placed);
    } else {
        QCOMPARE(editor->size(), QSize(312, 243));
    }
}

void TestForm2::loadFillsAndSelectsName()
{
    Fixture f;
    auto editor = f.edit(1);
    QCOMPARE(editor->Text2->text(), QStringLiteral("secondo"));
    QCOMPARE(editor->Text2->selectedText(), QStringLiteral("secondo"));
    QCOMPARE(editor->Text1->text(), QStringLiteral("secondo"));
    QVERIFY(editor->Text2->isEnabled());
    QCOMPARE(editor->changeCount(), 2);

    // No selection: the name box starts empty.
    f.list.setCurrentRow(-1);
    Form2 none(f.platform, f.help, f.store, f.list);
    QCOMPARE(none.Text2->text(), QString());
}

void TestForm2::closingWithoutChangesAsksNothing()
{
    Fixture f;
    auto editor = f.edit(0);
    editor->Command1->click();
    QVERIFY(!editor->isVisible());
    QVERIFY(f.fake.messages.calls.isEmpty());
    QCOMPARE(f.store.name(0), QStringLiteral("primo"));
    QCOMPARE(f.store.readContent(0), QStringLiteral("primo"));
    QCOMPARE(f.storedGeometry().size(), 4);
    QVERIFY(!f.storedGeometry().contains(QString()));
}

void TestForm2::changesAsked_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("typeAndDelete");
    QTest::addColumn<int>("answer");
    QTest::newRow("typed and deleted, No") << "primo" << true << int(MessageBox::No);
    QTest::newRow("typed and deleted, Yes") << "primo" << true << int(MessageBox::Yes);
    // Filling the box with its own initial text is no change: the count is 1.
    QTest::newRow("content Text1") << "Text1" << false << int(MessageBox::No);
}

void TestForm2::changesAsked()
{
    QFETCH(QString, content);
    QFETCH(bool, typeAndDelete);
    QFETCH(int, answer);
    Fixture f({content});
    auto editor = f.edit(0);
    if (typeAndDelete) {
        QTest::keyClick(editor->Text1, Qt::Key_X);
        QTest::keyClick(editor->Text1, Qt::Key_Backspace);
        QCOMPARE(editor->Text1->text(), content);
    }
    QVERIFY(editor->changeCount() != 2);
    f.fake.messages.answer({answer});
    editor->Command1->click();
    QVERIFY(!editor->isVisible());
    QCOMPARE(f.fake.messages.calls.size(), 1);
    QCOMPARE(f.fake.messages.calls[0].text, kQuestion);
    QCOMPARE(f.fake.messages.calls[0].style, 52);
    QCOMPARE(f.fake.messages.calls[0].title, QStringLiteral("Contenuto selezione"));
    QCOMPARE(f.store.readContent(0), content);
    QCOMPARE(f.store.name(0), content);
}

void TestForm2::yesAfterChangingOnlyTheName()
{
    // Line breaks of every kind and special spaces come back exactly.
    const QString content = QStringLiteral("a\r\nb\rc\u00a0d\u2028e\u2029f\tg") + QChar(0) + "h";
    Fixture f({QStringLiteral("zero"), content});
    auto editor = f.edit(1);
    editor->Text2->setText(QStringLiteral("Nuovo nome"));
    editor->Command1->click();
    QCOMPARE(f.fake.messages.calls.size(), 1);
    QCOMPARE(f.store.name(1), QStringLiteral("Nuovo nome"));
    QCOMPARE(f.store.caption(1), QStringLiteral("Nuovo nome"));
    QVERIFY(f.store.readContent(1) == content);
    QCOMPARE(f.store.name(0), QStringLiteral("zero"));
}

void TestForm2::longNameBecomesWholeCaption()
{
    Fixture f;
    auto editor = f.edit(0);
    const QString name = QString(75, QLatin1Char('n'));
    editor->Text2->setText(name);
    editor->Command1->click();
    QCOMPARE(f.store.caption(0), name);
    QCOMPARE(f.store.name(0), name);

    // Longer than a line box usually takes, and still editable whole.
    const QString longer = QString(50'000, QLatin1Char('m'));
    f.store.updateEntry(1, longer, QStringLiteral("secondo"));
    auto second = f.edit(1);
    QVERIFY(!second->Text2->isReadOnly());
    second->Text1->setText(QStringLiteral("cambiato"));
    second->Command1->click();
    QVERIFY(f.store.name(1) == longer);
}

void TestForm2::emptyNameIsRefused()
{
    Fixture f;
    auto editor = f.edit(0);
    QApplication::setActiveWindow(editor.get());
    QVERIFY(QTest::qWaitForWindowActive(editor.get()));
    editor->Text1->setFocus();
    editor->Text2->clear();
    editor->Command1->click();
    QVERIFY(editor->isVisible());
    QCOMPARE(f.fake.messages.calls.size(), 1);
    QCOMPARE(f.fake.messages.calls[0].text, kNameAdvice);
    QCOMPARE(f.fake.messages.calls[0].style, 64);
    QCOMPARE(f.fake.messages.calls[0].title, QString());
    QTRY_VERIFY(editor->Text2->hasFocus());
    QCOMPARE(f.storedGeometry(), QStringList({"", "", "", ""}));

    // The window close box takes the same way.
    editor->close();
    QVERIFY(editor->isVisible());
    QCOMPARE(f.fake.messages.calls.size(), 2);

    QTest::keyClicks(editor->Text2, QStringLiteral("altro"));
    f.fake.messages.answer({MessageBox::Yes});
    editor->Command1->click();
    QVERIFY(!editor->isVisible());
    QCOMPARE(f.fake.messages.calls.last().text, kQuestion);
    QCOMPARE(f.store.name(0), QStringLiteral("altro"));
}

void TestForm2::clipboardViewMode()
{
    Fixture f;
    f.list.setCurrentRow(0);
    Form2 viewer(f.platform, f.help, f.store, f.list);
    viewer.fillForClipboardView(QStringLiteral("dagli appunti"));
    viewer.show();
    QVERIFY(!viewer.Text2->isEnabled());
    QCOMPARE(viewer.Text2->text(), QStringLiteral("Scrivel di sistema"));
    QVERIFY(viewer.Text1->isReadOnly());
    QCOMPARE(viewer.Text1->text(), QStringLiteral("dagli appunti"));
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Contenuto degli Scrivel di sistema"));
    QTest::keyClick(viewer.Text1, Qt::Key_X);
    QTest::keyClick(viewer.Text1, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(viewer.Text1->text(), QStringLiteral("dagli appunti"));

    viewer.Command1->click();
    QVERIFY(!viewer.isVisible());
    QVERIFY(f.fake.messages.calls.isEmpty());
    QCOMPARE(f.store.name(0), QStringLiteral("primo"));
    QVERIFY(!f.storedGeometry().contains(QString()));
}

void TestForm2::enterClosesCtrlEnterBreaksLineEscDoesNot()
{
    Fixture f({QStringLiteral("riga")});
    auto editor = f.edit(0);
    QApplication::setActiveWindow(editor.get());
    QVERIFY(QTest::qWaitForWindowActive(editor.get()));
    editor->Text1->setFocus();
    editor->Text1->moveCursor(QTextCursor::End);

    QTest::keyClick(editor->Text1, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(editor->Text1, QStringLiteral("due"));
    QCOMPARE(editor->Text1->text(), QStringLiteral("riga\ndue"));
    QVERIFY(editor->isVisible());

    QTest::keyClick(editor->Text1, Qt::Key_Escape);
    QTest::keyClick(editor.get(), Qt::Key_Escape);
    QVERIFY(editor->isVisible());
    QVERIFY(f.fake.messages.calls.isEmpty());

    f.fake.messages.answer({MessageBox::Yes});
    QTest::keyClick(editor->Text1, Qt::Key_Return);
    QVERIFY(!editor->isVisible());
    QCOMPARE(f.fake.messages.calls.size(), 1);
    QCOMPARE(f.store.readContent(0), QStringLiteral("riga\ndue"));
}

void TestForm2::typedLineBreaksFollowTheContent()
{
    Fixture f({QStringLiteral("uno\r\ndue")});
    auto editor = f.edit(0);
    editor->Text1->moveCursor(QTextCursor::End);
    QTest::keyClick(editor->Text1, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(editor->Text1, QStringLiteral("tre"));
    QCOMPARE(editor->Text1->text(), QStringLiteral("uno\r\ndue\r\ntre"));
}

void TestForm2::layoutFollowsSize()
{
    Fixture f;
    auto editor = f.edit(0);
    editor->resize(480, 360);
    // The layout works from the outer size, frame included.
    const int w = editor->frameGeometry().width() * 15;
    const int h = editor->frameGeometry().height() * 15;
    QCOMPARE(editor->Text1->geometry(), QRect(0, px(720), px(w - 100), px(h - 1610)));
    QCOMPARE(editor->Text2->geometry(), QRect(px(600), px(120), px(w - 615), px(285)));
    const int command1Left = w - 855 - 200;
    const int command1Top = 720 + h - 1610 + 100;
    QCOMPARE(editor->Command1->geometry(),
             QRect(px(command1Left), px(command1Top), px(855), px(375)));
    QCOMPARE(editor->Command2->geometry(),
             QRect(px(command1Left - 1000), px(command1Top), px(855), px(375)));
    QCOMPARE(editor->Label1->geometry(), QRect(0, px(480), px(2415), px(255)));
}

void TestForm2::verySmallWindow()
{
    Fixture f;
    auto editor = f.edit(0);
    editor->resize(480, 360);
    const int h = editor->frameGeometry().height() * 15;
    const QSize text1 = editor->Text1->size();
    const QSize text2 = editor->Text2->size();
    editor->resize(1, 1); // no box can take a size this small
    const int w = editor->frameGeometry().width() * 15;
    QVERIFY(w < 100);
    QCOMPARE(editor->Text1->size(), text1);
    QCOMPARE(editor->Text2->size(), text2);
    // The buttons still follow, even to the left of the window.
    QCOMPARE(editor->Command1->pos(), QPoint(px(w - 855 - 200), px(720 + h - 1610 + 100)));
    QCOMPARE(editor->Command2->x(), px(w - 855 - 200 - 1000));
    editor->Command1->click();
    QVERIFY(!editor->isVisible());
}

void TestForm2::hugeContentShownInPartAndKeptWhole()
{
    QString huge;
    while (huge.size() < 3'000'000)
        huge += QStringLiteral("Riga lunga abbastanza per fare un testo enorme.\n");
    const QString oneLine(300'000, QLatin1Char('x'));
    for (const QString &content : {huge, oneLine}) {
        Fixture f({content});
        auto untouched = f.edit(0);
        QVERIFY(untouched->Text1->isShownInPart() && untouched->Text1->isReadOnly());
        QVERIFY(untouched->Text2->isShownInPart() && untouched->Text2->isReadOnly());
        QVERIFY(untouched->Text1->toPlainText().size() < 100'000);
        QVERIFY(untouched->Text2->text().size() < 100'000);
        untouched->Command1->click();
        QVERIFY(f.fake.messages.calls.isEmpty());

        // A short name can still be changed; the content stays whole.
        f.store.updateEntry(0, QStringLiteral("breve"), content);
        auto renamed = f.edit(0);
        renamed->Text2->setText(QStringLiteral("nome nuovo"));
        renamed->Command1->click();
        QCOMPARE(f.store.name(0), QStringLiteral("nome nuovo"));
        QVERIFY(f.store.readContent(0) == content);

        // A long name stays whole when only the content changes.
        f.store.updateEntry(0, content, QStringLiteral("corto"));
        auto recontented = f.edit(0);
        recontented->Text1->setText(QStringLiteral("altro"));
        recontented->Command1->click();
        QVERIFY(f.store.name(0) == content);
        QCOMPARE(f.store.readContent(0), QStringLiteral("altro"));
    }
    QVERIFY(ContentBox::fitsForEditing(QString(100'000, QLatin1Char('x'))));
    QVERIFY(!ContentBox::fitsForEditing(QString(100'001, QLatin1Char('x'))));
}

void TestForm2::entryGoneWhileOpen()
{
    Fixture f;
    auto editor = f.edit(1);
    editor->Text2->setText(QStringLiteral("cambiato"));
    f.store.clear(); // e.g. from the tray menu while the editor is open
    editor->Command1->click();
    QVERIFY(!editor->isVisible());
    QCOMPARE(f.store.count(), 0);
}

void TestForm2::helpOpensTopicOne()
{
    Fixture f;
    auto editor = f.edit(0);
    editor->Command2->click();
    QCOMPARE(f.fake.processes.starts.size(), 1);
    QCOMPARE(f.fake.processes.starts[0].arguments, QStringList{f.help.pagePath(1)});
    QVERIFY(editor->isVisible());
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
