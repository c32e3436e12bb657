// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeplatform.h"
#include "form1.h"
#include "framegeometry.h"
#include "traypresenter.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kExitQuestion = QStringLiteral(
    "Si desidera veramente uscire? Se sì tutto il testo presente non sarà più disponibile.");

// A program run: the main window over faked platform seams, with the real
// tray control plugin of the build tree.
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
    bool onTop() const { return form.windowFlags().testFlag(Qt::WindowStaysOnTopHint); }
    QRect outer() { return form.geometryTwips().outerTwips(); }
};

void store(FakePlatform &fake, const QString &section, const QString &key, const QString &value)
{
    fake.settings->SaveSetting(section, key, value);
}

void storeGeometry(FakePlatform &fake, const QString &sin, const QString &alto,
                   const QString &larghezza, const QString &altezza)
{
    store(fake, "Posizione", "Sin", sin);
    store(fake, "Posizione", "Alto", alto);
    store(fake, "Grandezze", "Larghezza", larghezza);
    store(fake, "Grandezze", "Altezza", altezza);
}

QMap<QString, QString> storedValues(FakePlatform &fake)
{
    fake.settings->flush();
    QSettings ini(fake.settingsPath(), QSettings::IniFormat);
    QMap<QString, QString> values;
    for (const QString &key : ini.allKeys())
        values.insert(key, ini.value(key).toString());
    return values;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void firstRunAndOrderlyExit();
    void defaultPlacementForUnusableGeometry_data();
    void defaultPlacementForUnusableGeometry();
    void storedGeometryIsRestored();
    void alwaysOnTopSetting_data();
    void alwaysOnTopSetting();
    void trayIconAndHiddenStart_data();
    void trayIconAndHiddenStart();
    void storedIntervalZero();
    void storedInterval_data();
    void storedInterval();
    void cancelAtExitRestoresAlwaysOnTop_data();
    void cancelAtExitRestoresAlwaysOnTop();
    void noConfirmationWhenTurnedOff();
    void closingWhileMinimisedKeepsGeometry();
    void unwritableSettingsFile();
    void withoutNotificationAreaTheWindowStaysReachable();

private:
    std::unique_ptr<FakePlatform> m_fake;
};

void TestStartup::init()
{
    m_fake = std::make_unique<FakePlatform>();
    m_fake->screen.workArea = QRect(0, 0, 12000, 11400);
}

void TestStartup::firstRunAndOrderlyExit()
{
    {
        Run run(*m_fake);
        QCOMPARE(run.outer(), QRect(0, 0, 1470, 11400));
        QVERIFY(run.form.isVisible());
        QVERIFY(run.onTop());
        QVERIFY(run.form.menus().mnutopmost->isChecked());
        QVERIFY(run.form.menus().stiletool->isChecked());
        QVERIFY(!run.form.menus().stilefin->isChecked());
        QVERIFY(run.form.menus().allinea->isEnabled());
        QVERIFY(run.form.cVandril1.trayVisible());
        QVERIFY(run.form.menus().riduci->isEnabled());
        QCOMPARE(run.form.Timer1.interval(), 700);
        QVERIFY(run.form.Timer1.isActive());
        QCOMPARE(run.form.cVandril1.trayIcon(), run.form.tray().pictures().normal);
        QCOMPARE(run.form.cVandril1.trayTip(), QStringLiteral("Vandrillo"));
        QVERIFY2(m_fake->messages.calls.isEmpty(),
                 qPrintable(m_fake->messages.calls.value(0).text));

        QSignalSpy ended(&run.form, &Form1::ended);
        QVERIFY(run.form.close());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(m_fake->messages.calls.size(), 1);
        QCOMPARE(m_fake->messages.calls[0].text, kExitQuestion);
        QCOMPARE(m_fake->messages.calls[0].style, 49);
        QVERIFY(!run.form.cVandril1.trayVisible());
    }
    const QMap<QString, QString> expected{
        {"Posizione/Sin", "0"},
        {"Posizione/Alto", "0"},
        {"Grandezze/Larghezza", "1470"},
        {"Grandezze/Altezza", "11400"},
        {"Altro/SempreInPrimoPiano", "True"},
        {"Altro/VisualizzaIcona", "1"},
        {"Altro/AvviaAIcona", "-1"},
        {"Altro/Ref", "700"},
        {"Altro/ConfUsc", "1"},
        {"Altro/SfMnu", ""},
    };
    QCOMPARE(storedValues(*m_fake), expected);
}

void TestStartup::defaultPlacementForUnusableGeometry_data()
{
    QTest::addColumn<QString>("sin");
    QTest::addColumn<QString>("alto");
    QTest::newRow("negative left") << "-30"
                                   << "300";
    QTest::newRow("empty") << ""
                           << "300";
    QTest::newRow("leading blank") << " 300"
                                   << "300";
    QTest::newRow("off every screen") << "90000"
                                      << "90000";
}

void TestStartup::defaultPlacementForUnusableGeometry()
{
    QFETCH(QString, sin);
    QFETCH(QString, alto);
    storeGeometry(*m_fake, sin, alto, "6000", "6000");
    Run run(*m_fake);
    QCOMPARE(run.outer(), QRect(0, 0, 1470, 11400));
}

void TestStartup::storedGeometryIsRestored()
{
    storeGeometry(*m_fake, "1500", "750", "4500", "abc"); // sorts above "0", reads as 0
    Run run(*m_fake);
    // A height of 0 snaps to the smallest the window may be (2000 twips are
    // 133 whole pixels at 15 twips each).
    QCOMPARE(run.outer(), QRect(1500, 750, 4500, 1995));
    QVERIFY(run.form.menus().stiletool->isChecked());
}

void TestStartup::alwaysOnTopSetting_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("onTop");
    QTest::newRow("True") << "True" << true;
    QTest::newRow("-1") << "-1" << true;
    QTest::newRow("False") << "False" << false;
    QTest::newRow("1") << "1" << false;
    QTest::newRow("garbage") << "sì" << false;
}

void TestStartup::alwaysOnTopSetting()
{
    QFETCH(QString, value);
    QFETCH(bool, onTop);
    store(*m_fake, "Altro", "SempreInPrimoPiano", value);
    Run run(*m_fake);
    QCOMPARE(run.onTop(), onTop);
    QCOMPARE(run.form.menus().mnutopmost->isChecked(), onTop);
}

void TestStartup::trayIconAndHiddenStart_data()
{
    QTest::addColumn<QString>("visualizzaIcona");
    QTest::addColumn<QString>("avviaAIcona");
    QTest::addColumn<bool>("trayShown");
    QTest::addColumn<bool>("windowShown");
    QTest::addColumn<QString>("avviaWritten");
    QTest::newRow("no icon, start hidden") << "0"
                                           << "1" << false << true << "1";
    QTest::newRow("icon, start hidden") << "1"
                                        << "1" << true << false << "1";
    QTest::newRow("icon, hidden by odd value") << "1"
                                               << "x" << true << false << "1";
    QTest::newRow("icon, shown") << "1"
                                 << "0" << true << true << "0";
    QTest::newRow("defaults") << "-1"
                              << "-1" << true << true << "-1";
}

void TestStartup::trayIconAndHiddenStart()
{
    QFETCH(QString, visualizzaIcona);
    QFETCH(QString, avviaAIcona);
    QFETCH(bool, trayShown);
    QFETCH(bool, windowShown);
    QFETCH(QString, avviaWritten);
    store(*m_fake, "Altro", "VisualizzaIcona", visualizzaIcona);
    store(*m_fake, "Altro", "AvviaAIcona", avviaAIcona);
    {
        Run run(*m_fake);
        QCOMPARE(run.form.cVandril1.trayVisible(), trayShown);
        QCOMPARE(run.form.menus().riduci->isEnabled(), trayShown);
        QCOMPARE(run.form.isVisible(), windowShown);
        QVERIFY(run.form.close());
    }
    QCOMPARE(storedValues(*m_fake).value("Altro/AvviaAIcona"), avviaWritten);
    QCOMPARE(storedValues(*m_fake).value("Altro/VisualizzaIcona"), trayShown ? "1" : "0");
}

void TestStartup::storedIntervalZero()
{
    store(*m_fake, "Altro", "Ref", "0");
    {
        Run run(*m_fake);
        QCOMPARE(m_fake->messages.calls.size(), 1);
        QCOMPARE(m_fake->messages.calls[0].text,
                 QStringLiteral("Il tempo di refresh è 0.\rLa modifica di questo parametro "
                                "tramite le Opzioni attiverà il monitoraggio degli Scrivel di "
                                "sistema. "));
        QCOMPARE(m_fake->messages.calls[0].style, 64);
        QCOMPARE(run.form.cVandril1.trayIcon(), run.form.tray().pictures().suspended);
        QVERIFY(run.form.monitor().isSuspended());
        QVERIFY(!run.form.Timer1.isActive());
        QVERIFY(run.form.close());
    }
    QCOMPARE(storedValues(*m_fake).value("Altro/Ref"), "0");
}

void TestStartup::storedInterval_data()
{
    QTest::addColumn<QString>("ref");
    QTest::addColumn<int>("interval");
    QTest::newRow("plain") << "250" << 250;
    QTest::newRow("half to even down") << "2.5" << 2;
    QTest::newRow("half to even up") << "3.5" << 4;
    QTest::newRow("leading blanks") << "  90ms" << 90;
    QTest::newRow("largest") << "65535" << 65535;
    QTest::newRow("too large") << "70000" << 700;
    QTest::newRow("negative") << "-5" << 700;
    QTest::newRow("huge") << "99999999999999999999999" << 700;
    QTest::newRow("not a number") << "abc" << 0;
}

void TestStartup::storedInterval()
{
    QFETCH(QString, ref);
    QFETCH(int, interval);
    store(*m_fake, "Altro", "Ref", ref);
    Run run(*m_fake);
    QCOMPARE(run.form.Timer1.interval(), interval);
    QCOMPARE(run.form.Timer1.isActive(), interval != 0);
    // Only the exact text "0" warns and shows the suspended picture.
    QVERIFY(m_fake->messages.calls.isEmpty());
    QVERIFY(!run.form.monitor().isSuspended());
}

void TestStartup::cancelAtExitRestoresAlwaysOnTop_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("on") << "True";
    QTest::newRow("off") << "False";
}

void TestStartup::cancelAtExitRestoresAlwaysOnTop()
{
    QFETCH(QString, stored);
    store(*m_fake, "Altro", "SempreInPrimoPiano", stored);
    Run run(*m_fake);
    const bool before = run.onTop();
    bool onTopDuringQuestion = true;
    m_fake->messages.onShow = [&](const ScriptedMessageBox::Call &) {
        onTopDuringQuestion = run.onTop();
    };
    m_fake->messages.answer({MessageBox::Cancel});
    QSignalSpy ended(&run.form, &Form1::ended);
    QVERIFY(!run.form.close());
    QVERIFY(!onTopDuringQuestion);
    QCOMPARE(run.onTop(), before);
    QVERIFY(run.form.isVisible());
    QCOMPARE(ended.count(), 0);
    QVERIFY(!m_fake->messages.calls.isEmpty());
}

void TestStartup::noConfirmationWhenTurnedOff()
{
    store(*m_fake, "Altro", "ConfUsc", "0");
    Run run(*m_fake);
    QVERIFY(run.form.close());
    QVERIFY(m_fake->messages.calls.isEmpty());
    QCOMPARE(storedValues(*m_fake).value("Altro/ConfUsc"), "0");
}

void TestStartup::closingWhileMinimisedKeepsGeometry()
{
    storeGeometry(*m_fake, "1500", "750", "4500", "6000");
    Run run(*m_fake);
    run.form.geometryTwips().setOuterTwips(QRect(3000, 3000, 3000, 3000));
    run.form.showMinimized();
    QVERIFY(run.form.close());
    const auto values = storedValues(*m_fake);
    QCOMPARE(values.value("Posizione/Sin"), "1500");
    QCOMPARE(values.value("Grandezze/Altezza"), "6000");
}

void TestStartup::unwritableSettingsFile()
{
    // A folder in place of the settings file: the exit says so, once, and ends.
    QDir().mkpath(m_fake->settingsPath());
    m_fake->reopenSettings();
    store(*m_fake, "Altro", "ConfUsc", "0");
    Run run(*m_fake);
    QSignalSpy ended(&run.form, &Form1::ended);
    QVERIFY(run.form.isVisible());
    QVERIFY(run.form.close());
    QCOMPARE(m_fake->messages.calls.size(), 1);
    QCOMPARE(m_fake->messages.calls[0].text,
             QStringLiteral("Impossibile salvare le impostazioni nel file ") +
                 m_fake->settingsPath() + QStringLiteral(": al suo posto c'è una cartella."));
    QCOMPARE(m_fake->messages.calls[0].style, 48);
    QCOMPARE(ended.count(), 1);
}

void TestStartup::withoutNotificationAreaTheWindowStaysReachable()
{
    m_fake->notificationArea.available = false;
    store(*m_fake, "Altro", "AvviaAIcona", "1");
    Run run(*m_fake);
    QVERIFY(run.form.isVisible());
    QVERIFY(!run.form.menus().riduci->isEnabled());

    m_fake->notificationArea.setAvailable(true);
    QVERIFY(run.form.menus().riduci->isEnabled());
    run.form.menus().riduci->trigger();
    QVERIFY(!run.form.isVisible());
    // The tray host goes away with the window hidden in it.
    m_fake->notificationArea.setAvailable(false);
    QVERIFY(run.form.isVisible());
    QVERIFY(!run.form.menus().riduci->isEnabled());
    QVERIFY(run.form.close());
    QCOMPARE(storedValues(*m_fake).value("Altro/AvviaAIcona"), "1");
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
