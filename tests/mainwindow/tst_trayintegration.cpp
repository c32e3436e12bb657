// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeplatform.h"
#include "form1.h"
#include "trayart.h"
#include "traycopymenu.h"
#include "traypresenter.h"
#include "windowmessageevent.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QSet>
#include <QTest>

namespace {

struct Run
{
    FakePlatform fake;
    Platform platform;
    std::unique_ptr<Form1> form;

    explicit Run(const QString &ref = QStringLiteral("-1")) : platform(fake.platform())
    {
        fake.settings->SaveSetting(QStringLiteral("Altro"), QStringLiteral("Ref"), ref);
        fake.settings->SaveSetting(QStringLiteral("Altro"), QStringLiteral("ConfUsc"),
                                   QStringLiteral("0"));
        form = std::make_unique<Form1>(platform, TrayControlHost::defaultPluginDirs(),
                                       fake.dir.path());
        form->Form_Load();
    }
    QString hoverTip()
    {
        Q_EMIT form->cVandril1.MouseMove(0);
        return form->cVandril1.trayTip();
    }
    void copyAndTick(const QString &text)
    {
        fake.clipboard.copy(text);
        form->Timer1_Timer();
    }
};

} // namespace

class TestTrayIntegration : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tooltipBeforeFirstHover();
    void hoverTooltips();
    void suspendedByStoredIntervalZero();
    void tooltipFollowsChangesWhereHoverIsNotReported();
    void rightClickBringsWindowBack_data();
    void rightClickBringsWindowBack();
    void leftClickOpensCopyMenuLeavingWindowHidden();
    void otherButtonsDoNothing();
    void hideAndMinimise();
    void copyMenuItemCopiesContent();
    void leftClickOpensCopyMenuWhereTheHostSaw();
    void picturesAreSharpAtEachTraySize();
};

void TestTrayIntegration::tooltipBeforeFirstHover()
{
    Run run;
    run.copyAndTick(QStringLiteral("uno"));
    // Start-up sets no tooltip and a capture does not touch it.
    QCOMPARE(run.form->cVandril1.trayTip(), QStringLiteral("Vandrillo"));
}

void TestTrayIntegration::hoverTooltips()
{
    Run run;
    QCOMPARE(run.hoverTip(), QStringLiteral("Aggiornamento Scrivel: nessun elemento nella lista"));
    run.copyAndTick(QStringLiteral("uno"));
    QCOMPARE(run.hoverTip(), QStringLiteral("Aggiornamento Scrivel: 1 elemento nella lista"));
    run.copyAndTick(QStringLiteral("due"));
    QCOMPARE(run.hoverTip(), QStringLiteral("Aggiornamento Scrivel: 2 elementi nella lista"));
    run.fake.clipboard.setUnavailable(true);
    run.form->Timer1_Timer();
    QCOMPARE(run.hoverTip(), QStringLiteral("Scrivel di sistema non disponibili!"));
}

void TestTrayIntegration::suspendedByStoredIntervalZero()
{
    Run run(QStringLiteral("0"));
    QCOMPARE(run.hoverTip(), QStringLiteral("Monitoraggio Scrivel sospeso: Sospeso dall'utente"));
}

void TestTrayIntegration::tooltipFollowsChangesWhereHoverIsNotReported()
{
    Run run;
    // A tray host that never reports the pointer resting on the icon takes over.
    run.fake.notificationArea.hover = false;
    run.fake.notificationArea.setAvailable(true);
    const auto tip = [&] { return run.form->cVandril1.trayTip(); };
    QCOMPARE(tip(), QStringLiteral("Aggiornamento Scrivel: nessun elemento nella lista"));
    run.copyAndTick(QStringLiteral("uno"));
    QCOMPARE(tip(), QStringLiteral("Aggiornamento Scrivel: 1 elemento nella lista"));
    // Without a tick: an entry command, then the interval set to 0.
    run.form->store().clear();
    QCOMPARE(tip(), QStringLiteral("Aggiornamento Scrivel: nessun elemento nella lista"));
    run.form->monitor().suspendByUser();
    QCOMPARE(tip(), QStringLiteral("Monitoraggio Scrivel sospeso: Sospeso dall'utente"));
}

void TestTrayIntegration::rightClickBringsWindowBack_data()
{
    QTest::addColumn<int>("state");
    QTest::newRow("hidden") << 0;
    QTest::newRow("minimised") << 1;
    QTest::newRow("maximised") << 2;
}

void TestTrayIntegration::rightClickBringsWindowBack()
{
    QFETCH(int, state);
    Run run;
    if (state == 0)
        run.form->menus().riduci->trigger();
    else if (state == 1)
        run.form->menus().mnuPorta->trigger();
    else
        run.form->showMaximized();
    Q_EMIT run.form->cVandril1.MouseUp(2, 0);
    QVERIFY(run.form->isVisible());
    QCOMPARE(run.form->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized),
             Qt::WindowNoState);
    QTRY_VERIFY(run.form->isActiveWindow());
}

void TestTrayIntegration::leftClickOpensCopyMenuLeavingWindowHidden()
{
    Run run;
    run.copyAndTick(QStringLiteral("abc"));
    run.form->menus().riduci->trigger();
    QVERIFY(!run.form->isVisible());
    Q_EMIT run.form->cVandril1.MouseUp(1, 0);
    QMenu *menu = run.form->menus().mnucdLista;
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!run.form->isVisible());
    menu->close();
}

void TestTrayIntegration::otherButtonsDoNothing()
{
    Run run;
    run.form->menus().riduci->trigger();
    Q_EMIT run.form->cVandril1.MouseDown(2, 0);
    Q_EMIT run.form->cVandril1.MouseDblClick(1, 0);
    Q_EMIT run.form->cVandril1.MouseUp(3, 0);
    QVERIFY(!run.form->isVisible());
    QVERIFY(!run.form->menus().mnucdLista->isVisible());
}

void TestTrayIntegration::hideAndMinimise()
{
    Run run;
    run.form->menus().mnuPorta->trigger();
    QVERIFY(run.form->isMinimized());
    run.form->showNormal();
    run.form->menus().riduci->trigger();
    QVERIFY(!run.form->isVisible());
    // The monitor keeps running while the window is hidden.
    QVERIFY(run.form->Timer1.isActive());
    QVERIFY(run.form->cVandril1.trayVisible());
}

void TestTrayIntegration::copyMenuItemCopiesContent()
{
    Run run;
    run.copyAndTick(QStringLiteral("primo"));
    run.copyAndTick(QStringLiteral("secondo"));
    run.form->trayMenu().mnulista(1)->trigger();
    QCOMPARE(run.fake.clipboard.text(), QStringLiteral("primo"));
    run.form->menus().mnuAnnulla->trigger();
    QCOMPARE(run.fake.clipboard.text(), QStringLiteral("primo"));
    QVERIFY(run.fake.messages.calls.isEmpty());
    run.form->menus().mnucopdi->trigger();
    QCOMPARE(run.fake.messages.calls.size(), 1);
}

void TestTrayIntegration::leftClickOpensCopyMenuWhereTheHostSaw()
{
    Run run;
    run.copyAndTick(QStringLiteral("abc"));
    QWidget *control = run.form->cVandril1.control();
    QVERIFY(control);
    QMenu *menu = run.form->menus().mnucdLista;
    const QRect screen = menu->screen()->availableGeometry();
    const auto click = [&](QPoint pos) {
        for (const qintptr mouseMessage : {0x0201, 0x0202}) {
            WindowMessageEvent message(1125, 0, mouseMessage, pos);
            QCoreApplication::sendEvent(control, &message);
        }
        if (!QTest::qWaitFor([&] { return menu->isVisible(); }))
            return QRect();
        const QRect at = menu->geometry();
        menu->close();
        return at;
    };
    QCOMPARE(click(QPoint(300, 200)).topLeft(), QPoint(300, 200));
    // Near the screen's corner: moved wholly onto it, as close to the click as it fits.
    const QRect corner = click(screen.bottomRight() - QPoint(10, 10));
    QVERIFY2(screen.contains(corner), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                     .arg(corner.x())
                                                     .arg(corner.y())
                                                     .arg(corner.width())
                                                     .arg(corner.height())));
    QCOMPARE(corner.bottomRight(), screen.bottomRight());
    // Without a position from the host: at the pointer.
    run.fake.screen.pointer = QPoint(120, 140);
    QCOMPARE(click(QPoint()).topLeft(), QPoint(120, 140));
    // Where the pointer's place is unknown too (Wayland): mid-screen.
    run.fake.screen.pointer.reset();
    QVERIFY(qAbs(click(QPoint()).center().x() - screen.center().x()) <= 1);
}

void TestTrayIntegration::picturesAreSharpAtEachTraySize()
{
    Run run;
    const TrayPresenter::Pictures &pictures = run.form->tray().pictures();
    const QList<std::pair<Vandril::PictureRef, QColor>> drawn = {
        {pictures.normal, TrayArt::kNormalColor},
        {pictures.capture, TrayArt::kCaptureColor},
        {pictures.suspended, TrayArt::kSuspendedColor}};
    for (const auto &[picture, colour] : drawn) {
        const QSet<QRgb> pure{colour.rgb(), QColor(Qt::white).rgb(), colour.darker(140).rgb()};
        for (const int size : {16, 22, 24, 32, 48}) {
            const QImage image = picture->image().pixmap(QSize(size, size), 1.0).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            // Inside the tile, pixels of mixed colour lie only where corners are
            // rounded: a picture drawn for another size blurs every edge and stroke.
            int mixed = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const QRgb pixel = image.pixel(x, y);
                    mixed += qAlpha(pixel) == 255 && !pure.contains(pixel);
                }
            }
            QVERIFY2(mixed <= size * 3 / 2,
                     qPrintable(QStringLiteral("%1 mixed pixels at %2").arg(mixed).arg(size)));
        }
    }
}

QTEST_MAIN(TestTrayIntegration)
#include "tst_trayintegration.moc"
