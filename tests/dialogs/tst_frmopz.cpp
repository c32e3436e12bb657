// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeplatform.h"
#include "form1.h"
#include "frmopz.h"
#include "helplauncher.h"
#include "runsettings.h"
#include "settingsstore.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kZeroQuestion =
    QStringLiteral("Inserendo 0 il monitoraggio degli Scrivel di sistema verrà interrotto.\r\r"
                   "Per riprenderlo, cambiare nuovamente questo valore.");

// The main window over faked seams; the dialog is driven while "shown".
struct Run
{
    FakePlatform &fake;
    Platform platform;
    Form1 form;

    explicit Run(FakePlatform &f)
        : fake(f), platform(f.platform()),
          form(platform, TrayControlHost::defaultPluginDirs(), f.dir.path())
    {
        form.Form_Load();
    }
    // Opens the options through F8's menu item.
    void options(const std::function<void(frmOpz &)> &drive)
    {
        fake.modals.onShow = [&](QDialog &dialog) {
            if (auto *opz = qobject_cast<frmOpz *>(&dialog))
                drive(*opz);
            return dialog.result();
        };
        form.menus().tempo->trigger();
        fake.modals.onShow = nullptr;
    }
    bool onTop() const { return form.windowFlags().testFlag(Qt::WindowStaysOnTopHint); }
};

// The live state without a main window; counts what the dialog applies.
// The two flags start from the texts stored for them.
struct Live
{
    Live(int interval = 700, bool tray = true, const QString &avvia = QStringLiteral("-1"),
         const QString &confUsc = QStringLiteral("1"))
        : interval(interval), tray(tray), avvia(avvia), confUsc(confUsc)
    {}
    int interval;
    bool tray;
    QString avvia;
    QString confUsc;
    int applied = 0;
    QTemporaryDir dir;
    SettingsStore store{dir.filePath(QStringLiteral("QVScrivel.ini"))};
    RunSettings settings{store};

    frmOpz::LiveOptions bind()
    {
        store.SaveSetting(QStringLiteral("Altro"), QStringLiteral("AvviaAIcona"), avvia);
        store.SaveSetting(QStringLiteral("Altro"), QStringLiteral("ConfUsc"), confUsc);
        settings.read();
        return {[this] { return interval; }, [this](int ms) { interval = ms, ++applied; },
                [this] { return tray; }, [this](bool on) { tray = on, ++applied; }, settings};
    }
    // Starting hidden, then the exit question: "1" on, "0" off.
    QString flags() const
    {
        return QString::number(int(settings.startHiddenChosen())) +
               QString::number(int(settings.confirmsExit()));
    }
};

} // namespace

class TestFrmOpz : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_fake = std::make_unique<FakePlatform>(); }
    void tabOrderAndPlaces();
    void opensFromLiveState_data();
    void opensFromLiveState();
    void okButton_data();
    void okButton();
    void closingWithoutOkChangesNothing_data();
    void closingWithoutOkChangesNothing();
    void trayIconOffKeepsStartHidden();
    void alwaysOnTopAroundDialog_data();
    void alwaysOnTopAroundDialog();

private:
    std::unique_ptr<frmOpz> dialogFor(Live &live)
    {
        m_help = std::make_unique<HelpLauncher>(m_fake->processes, m_fake->messages,
                                                m_fake->helpFolder());
        return std::make_unique<frmOpz>(live.bind(), m_fake->messages, *m_help, m_fake->screen);
    }

    std::unique_ptr<FakePlatform> m_fake;
    std::unique_ptr<HelpLauncher> m_help;
};

void TestFrmOpz::tabOrderAndPlaces()
{
    Live live;
    auto d = dialogFor(live);
    QCOMPARE(d->size(), QSize(375, 196)); // 5625 × 2940 twips at 15 a pixel
    QCOMPARE(d->Text1->geometry(), QRect(8, 168, 89, 19));
    QCOMPARE(d->Command4->geometry(), QRect(288, 168, 81, 25));
    QCOMPARE(d->Label1->buddy(), d->Text1);
    QWidget *w = d->Check1;
    for (QWidget *next : std::initializer_list<QWidget *>{d->Check2, d->Text1, d->Command3,
                                                          d->Command4, d->Command1, d->Command2,
                                                          d->Command5, d->Check3, d->Check1}) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        QCOMPARE(w, next);
    }
    // "&Guida" opens the options topic and leaves the dialog as it is.
    d->Command5->click();
    QCOMPARE(m_fake->processes.starts.value(0).arguments, QStringList{m_help->pagePath(2)});
    QCOMPARE(d->result(), 0);
    // Enter in the text box is OK.
    d->show();
    QTest::keyClick(d->Text1, Qt::Key_Return);
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(live.applied, 2);
}

void TestFrmOpz::opensFromLiveState_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("tray");
    QTest::addColumn<QString>("avvia");
    QTest::addColumn<QString>("confUsc");
    QTest::newRow("first run") << 700 << true << "-1"
                               << "1";
    QTest::newRow("suspended, start hidden") << 0 << true << "1"
                                             << "0";
    QTest::newRow("no tray icon") << 65535 << false << "1"
                                  << "1";
    QTest::newRow("only exact 1 checks") << 1 << false << " 1"
                                         << "True";
}

void TestFrmOpz::opensFromLiveState()
{
    QFETCH(int, interval);
    QFETCH(bool, tray);
    QFETCH(QString, avvia);
    QFETCH(QString, confUsc);
    Live live{interval, tray, avvia, confUsc};
    auto d = dialogFor(live);
    QCOMPARE(d->Text1->text(), QString::number(interval));
    QCOMPARE(d->Check1->isChecked(), tray);
    QCOMPARE(d->Check2->isChecked(), avvia == "1");
    QCOMPARE(d->Check2->isEnabled(), tray);
    QCOMPARE(d->Check3->isChecked(), confUsc == "1");
    QCOMPARE(live.applied, 0);
}

void TestFrmOpz::okButton_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("answer"); // to the 0-question
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("interval"); // -1: nothing applied, the dialog stays open
    const int ok = MessageBox::Ok, cancel = MessageBox::Cancel;
    const QString range = QStringLiteral("Inserimento non valido nella casella tempo di refresh!");
    QTest::newRow("plain") << "250" << 0 << "" << 250;
    QTest::newRow("largest") << "65535" << 0 << "" << 65535;
    QTest::newRow("half to even down") << "2.5" << 0 << "" << 2;
    QTest::newRow("half to even up") << "3.5" << 0 << "" << 4;
    QTest::newRow("blanks, sign, unit") << "  +900 ms" << 0 << "" << 900;
    QTest::newRow("no digits, cancel") << "abc" << cancel << kZeroQuestion << -1;
    QTest::newRow("rounds to 0, cancel") << "0.4" << cancel << kZeroQuestion << -1;
    QTest::newRow("empty, ok") << "" << ok << kZeroQuestion << 0;
    QTest::newRow("too long") << "70000" << 0 << range << -1;
    QTest::newRow("rounds past the limit") << "65535.5" << 0 << range << -1;
    QTest::newRow("negative") << "-5" << 0 << range << -1;
    QTest::newRow("huge") << "99999999999999999999999" << 0 << range << -1;
}

void TestFrmOpz::okButton()
{
    QFETCH(QString, text);
    QFETCH(int, answer);
    QFETCH(QString, message);
    QFETCH(int, interval);
    m_fake->messages.answer({answer});
    Live live;
    live.avvia = QStringLiteral("0");
    auto d = dialogFor(live);
    d->Text1->setText(text);
    d->Check2->click();
    d->Check1->click(); // greys Check2 out, its mark is still applied
    d->Check3->click();
    d->Command1->click();
    QCOMPARE(m_fake->messages.calls.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(m_fake->messages.calls[0].text, message);
        QCOMPARE(m_fake->messages.calls[0].style, answer ? 49 : 48);
        QCOMPARE(m_fake->messages.calls[0].title, QString()); // the application title
    }
    const bool applied = interval >= 0;
    QCOMPARE(d->result(), applied ? int(QDialog::Accepted) : 0);
    QCOMPARE(d->Text1->text(), text);
    QCOMPARE(live.applied, applied ? 2 : 0);
    QCOMPARE(live.interval, applied ? interval : 700);
    QCOMPARE(live.tray, !applied);
    QCOMPARE(live.flags(), applied ? "10" : "01");
}

void TestFrmOpz::closingWithoutOkChangesNothing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Predefinito, Annulla") << "Annulla";
    QTest::newRow("Sospendi, Esc") << "Esc";
    QTest::newRow("Predefinito, close box") << "close";
}

void TestFrmOpz::closingWithoutOkChangesNothing()
{
    QFETCH(QString, how);
    Live live{250, false, QStringLiteral("1"), QStringLiteral("0")};
    auto d = dialogFor(live);
    d->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    (how == "Esc" ? d->Command3 : d->Command4)->click();
    QCOMPARE(d->Text1->text(), how == "Esc" ? "0" : "700");
    d->Check1->click();
    d->Check3->click();
    if (how == "Annulla")
        d->Command2->click();
    else if (how == "Esc")
        QTest::keyClick(d->Text1, Qt::Key_Escape);
    else
        d->close();
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Rejected));
    QCOMPARE(live.applied, 0);
    QCOMPARE(live.flags(), QStringLiteral("10"));
}

void TestFrmOpz::trayIconOffKeepsStartHidden()
{
    m_fake->settings->SaveSetting("Altro", "AvviaAIcona", "0");
    {
        Run run(*m_fake);
        run.options([&](frmOpz &d) {
            d.Check2->click();
            d.Check1->click();
            QVERIFY(!d.Check2->isEnabled());
            QVERIFY(d.Check2->isChecked());
            d.Command1->click();
        });
        QVERIFY(!run.form.cVandril1.trayVisible());
        QVERIFY(!run.form.menus().riduci->isEnabled());
        // Reopened, the dialog starts from the new state.
        run.options([&](frmOpz &d) {
            QVERIFY(!d.Check1->isChecked());
            QVERIFY(!d.Check2->isEnabled() && d.Check2->isChecked());
        });
        QVERIFY(run.form.close());
    }
    m_fake->settings->flush();
    QSettings ini(m_fake->settingsPath(), QSettings::IniFormat);
    QCOMPARE(ini.value("Altro/AvviaAIcona").toString(), QStringLiteral("1"));
    QCOMPARE(ini.value("Altro/VisualizzaIcona").toString(), QStringLiteral("0"));
}

void TestFrmOpz::alwaysOnTopAroundDialog_data()
{
    QTest::addColumn<bool>("topmost");
    QTest::addColumn<bool>("ok");
    QTest::newRow("on, OK after a cancelled 0-question") << true << true;
    QTest::newRow("on, Annulla") << true << false;
    QTest::newRow("off, OK") << false << true;
}

void TestFrmOpz::alwaysOnTopAroundDialog()
{
    QFETCH(bool, topmost);
    QFETCH(bool, ok);
    m_fake->settings->SaveSetting("Altro", "SempreInPrimoPiano", topmost ? "True" : "False");
    Run run(*m_fake);
    QCOMPARE(run.onTop(), topmost);
    QList<bool> onTop;
    m_fake->messages.answer({MessageBox::Cancel});
    run.options([&](frmOpz &d) {
        onTop << run.onTop();
        d.Command3->click();
        d.Command1->click(); // asks, is cancelled
        onTop << run.onTop();
        d.Text1->setText(QStringLiteral("500"));
        (ok ? d.Command1 : d.Command2)->click();
    });
    QCOMPARE(onTop, QList<bool>({false, false}));
    QCOMPARE(run.onTop(), topmost);
    QCOMPARE(run.form.Timer1.interval(), ok ? 500 : 700);
}

QTEST_MAIN(TestFrmOpz)
#include "tst_frmopz.moc"
