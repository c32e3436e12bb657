// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeplatform.h"
#include "form1.h"
#include "form3.h"
#include "helplauncher.h"
#include "memorystatus.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(MemoryFigures)

namespace {

constexpr int kTicks = 122;
const QString kLine3 = QStringLiteral("Scrivel tiene a portata di mano ciò che copi.");
const QString kLine4 =
    QStringLiteral("Ogni testo copiato resta in lista: un doppio clic e torna tuo.");
const QString kLine5 = QStringLiteral("Buon lavoro!");

class FakeMemory : public MemoryStatus
{
public:
    MemoryFigures figures{8'000'000'000, 3'500'000'000, 12'000'000'000};
    MemoryFigures read() override { return figures; }
};

// The typed lines' texts and colours.
QStringList typed(const Form3 &form)
{
    QStringList lines;
    for (int i : {3, 4, 5})
        lines << form.Label1[i]->text() + QLatin1Char('|') +
                     form.Label1[i]->palette().color(QPalette::WindowText).name();
    return lines;
}

void tick(Form3 &form, int times)
{
    for (int i = 0; i < times; ++i)
        form.Timer1_Timer();
}

} // namespace

class TestForm3 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void centredWithMemoryAreaHidden();
    void typingTakes122Ticks();
    void memoryMidTyping();
    void memoryTexts_data();
    void memoryTexts();
    void keysAndCredits();
    void reopenedWindowStartsOver();

private:
    std::unique_ptr<Form3> makeForm(const QLocale &locale = QLocale::system())
    {
        auto form = std::make_unique<Form3>(m_memory, *m_help, m_fake->screen, nullptr, locale);
        form->Timer1.stop(); // the tests tick by hand
        return form;
    }

    std::unique_ptr<FakePlatform> m_fake;
    std::unique_ptr<HelpLauncher> m_help;
    FakeMemory m_memory;
};

void TestForm3::init()
{
    m_fake = std::make_unique<FakePlatform>();
    m_help =
        std::make_unique<HelpLauncher>(m_fake->processes, m_fake->messages, m_fake->helpFolder());
    m_memory = FakeMemory();
}

void TestForm3::centredWithMemoryAreaHidden()
{
    m_fake->screen.workArea = QRect(1500, 0, 17700, 15000); // 1180 × 1000 from x = 100
    auto form = makeForm();
    QCOMPARE(form->geometry(), QRect(528, 398, 324, 204));
    QCOMPARE(form->Label1[0]->text(), QStringLiteral("Q&V SCRIVEL"));
    for (const QLabel *label : {form->Label2, form->Label3, form->Label4, form->Image2})
        QVERIFY(label->geometry().top() >= form->height());
}

void TestForm3::typingTakes122Ticks()
{
    auto form = makeForm();
    const QString plain = form->Label1[3]->palette().color(QPalette::WindowText).name();
    QVERIFY(plain != QLatin1String("#ffffff"));
    tick(*form, int(kLine3.size()) + 1); // the line and its "§"
    QCOMPARE(typed(*form), QStringList({kLine3 + "|#ffffff", "|" + plain, "|" + plain}));

    tick(*form, kTicks - 2 - int(kLine3.size()));
    const QStringList done{kLine3 + "|#ffffff", kLine4 + "|#ffffff", kLine5 + "|" + plain};
    QCOMPARE(typed(*form), done);
    QCOMPARE(form->typingPosition(), kTicks - 1);
    QCOMPARE(form->Timer1.interval(), 1);
    tick(*form, 1);
    QCOMPARE(form->typingPosition(), kTicks);
    QCOMPARE(form->Timer1.interval(), 50); // only the figures change from now on

    // Long after (past a 16-bit counter's range) the captions stay while the
    // figures follow every tick.
    tick(*form, 40000);
    QCOMPARE(form->typingPosition(), kTicks);
    m_memory.figures.totalPhysical = 999;
    tick(*form, 1);
    QCOMPARE(form->Label2->text(), QStringLiteral(" Memoria fisica totale:  999 bytes"));
    QCOMPARE(typed(*form), done);
}

void TestForm3::memoryMidTyping()
{
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    tick(*form, 30);
    const QPoint topLeft = form->pos();
    QTest::mouseClick(form->Command3, Qt::LeftButton);
    QCOMPARE(form->frameGeometry().height(), 295); // 4425 twips; no frame offscreen
    QCOMPARE(form->pos(), topLeft);
    QVERIFY(!form->Command3->isEnabled());
    QVERIFY(form->Label3->geometry().bottom() < form->height());

    QCOMPARE(form->Label1[3]->text(), kLine3.left(30));
    tick(*form, kTicks - 30);
    QCOMPARE(form->Label1[4]->text() + form->Label1[5]->text(), kLine4 + kLine5);
}

void TestForm3::memoryTexts_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<MemoryFigures>("figures");
    QTest::addColumn<QStringList>("texts"); // Label2, Label4, Label3
    const QLocale it(QLocale::Italian, QLocale::Italy);
    QTest::newRow("gigabytes, it")
        << it << MemoryFigures{8'372'051'968, 3'221'225'472, 1'234'567}
        << QStringList{" Memoria fisica totale:  8.372.051.968 bytes",
                       " Memoria fisica disponibile:  3.221.225.472 bytes",
                       " Memoria virtuale disponibile: 1.234.567 bytes"};
    QTest::newRow("short and zero, en")
        << QLocale(QLocale::English, QLocale::UnitedStates) << MemoryFigures{999, 1000, 0}
        << QStringList{" Memoria fisica totale:  999 bytes",
                       " Memoria fisica disponibile:  1,000 bytes",
                       " Memoria virtuale disponibile: 0 bytes"};
    QTest::newRow("every digit kept, C locale groups too")
        << QLocale::c() << MemoryFigures{1'099'511'627'776, 123'456, 9'223'372'036'854'775'807}
        << QStringList{" Memoria fisica totale:  1,099,511,627,776 bytes",
                       " Memoria fisica disponibile:  123,456 bytes",
                       " Memoria virtuale disponibile: 9,223,372,036,854,775,807 bytes"};
}

void TestForm3::memoryTexts()
{
    QFETCH(QLocale, locale);
    QFETCH(MemoryFigures, figures);
    QFETCH(QStringList, texts);
    m_memory.figures = figures;
    auto form = makeForm(locale);
    tick(*form, 1);
    QCOMPARE(QStringList({form->Label2->text(), form->Label4->text(), form->Label3->text()}),
             texts);
}

void TestForm3::keysAndCredits()
{
    m_fake->processes.failing = true;
    auto form = makeForm();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->Command2->click();
    QCOMPARE(m_fake->messages.calls.value(0).text, HelpLauncher::failureMessage());
    m_fake->processes.failing = false;
    form->Command2->click();
    QCOMPARE(m_fake->processes.starts.value(0).arguments, QStringList{m_help->pagePath(3)});
    QTest::keyClick(form.get(), Qt::Key_Escape);
    QVERIFY(form->isVisible());
    QTest::keyClick(form.get(), Qt::Key_Return);
    QVERIFY(!form->isVisible());
    QCOMPARE(form->result(), int(QDialog::Accepted));
}

void TestForm3::reopenedWindowStartsOver()
{
    m_fake->settings->SaveSetting("Altro", "SempreInPrimoPiano", "True");
    Platform platform = m_fake->platform();
    Form1 main(platform, TrayControlHost::defaultPluginDirs(), m_fake->dir.path());
    main.Form_Load();
    const auto onTop = [&] { return main.windowFlags().testFlag(Qt::WindowStaysOnTopHint); };
    QList<QStringList> atOpening;
    m_fake->modals.onShow = [&](QDialog &dialog) {
        auto *about = qobject_cast<Form3 *>(&dialog);
        if (!about)
            return int(QDialog::Rejected);
        atOpening << typed(*about);
        [&] {
            QVERIFY(!onTop());
            QVERIFY(about->Command3->isEnabled());
            QCOMPARE(about->height(), 204);
            // Its own 1-ms timer types the whole notice.
            QTRY_COMPARE_WITH_TIMEOUT(about->typingPosition(), kTicks, 10000);
            about->Command3->click();
            about->Command1->click();
        }();
        return dialog.result();
    };
    main.menus().infoon->trigger();
    main.menus().infoon->trigger();
    QCOMPARE(m_fake->modals.shown, 2);
    QCOMPARE(atOpening.size(), 2);
    QCOMPARE(atOpening[1], atOpening[0]);
    for (const QString &line : atOpening[1]) // empty, in the default colour
        QVERIFY2(line.startsWith(QLatin1Char('|')) && !line.endsWith(QLatin1String("#ffffff")),
                 qPrintable(line));
    QVERIFY(onTop());
}

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
