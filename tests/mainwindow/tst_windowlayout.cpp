// SPDX-License-Identifier: GPL-3.0-or-later
#include "buttontoolbar.h"
#include "fakeplatform.h"
#include "form1.h"
#include "framegeometry.h"
#include "historyview.h"
#include "twips.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QToolButton>

namespace {

struct Run
{
    FakePlatform fake;
    Platform platform;
    std::unique_ptr<Form1> form;

    explicit Run(bool tiles = false) : platform(fake.platform())
    {
        fake.screen.workArea = QRect(0, 0, 12000, 11400);
        fake.screen.tiles = tiles;
        fake.settings->SaveSetting(QStringLiteral("Altro"), QStringLiteral("ConfUsc"),
                                   QStringLiteral("0"));
        form = std::make_unique<Form1>(platform, TrayControlHost::defaultPluginDirs(),
                                       fake.dir.path());
        form->Form_Load();
    }
    QRect outer() { return form->geometryTwips().outerTwips(); }
    MenuTree &menus() { return form->menus(); }
};

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void snapsToTheSmallestSize();
    void listFillsTheAreaAboveTheToolbar();
    void minimisingWithoutTrayIconRestores();
    void minimisingWithTrayIconStaysMinimised();
    void windowStyleTwice();
    void barStyleAndDocking();
    void barAsksToFloatWhereWindowsTile();
    void alwaysOnTopKeepsTheNativeWindow();
    void rightClickOnSurfaceOpensMenu_data();
    void rightClickOnSurfaceOpensMenu();
    void twipsRoundEachValueOnItsOwn();
};

void TestWindowLayout::snapsToTheSmallestSize()
{
    Run run;
    run.form->geometryTwips().setOuterTwips(QRect(1500, 1500, 900, 600));
    // 2000 twips are 133 whole pixels at 15 twips each.
    QCOMPARE(run.outer(), QRect(1500, 1500, 1560, 1995));
    run.form->geometryTwips().resizeTwips(3000, 4500);
    QCOMPARE(run.outer().size(), QSize(3000, 4500));
}

void TestWindowLayout::listFillsTheAreaAboveTheToolbar()
{
    Run run;
    run.form->geometryTwips().setOuterTwips(QRect(0, 0, 6000, 6000));
    const QWidget *surface = run.form->centralWidget();
    const int toolbarHeight = run.form->Toolbar1->height();
    // The strip holds its buttons whole and meets the list: no band between.
    QCOMPARE(toolbarHeight, 39);
    QCOMPARE(run.form->List1->geometry(), QRect(0, 0, 400 - 10, surface->height() - toolbarHeight));
    QCOMPARE(run.form->Picture1->geometry(),
             QRect(0, surface->height() - toolbarHeight, surface->width(), toolbarHeight));
    for (int i = 1; i <= 4; ++i)
        QVERIFY(!run.form->Toolbar1->button(i)->isHidden());
}

void TestWindowLayout::minimisingWithoutTrayIconRestores()
{
    Run run;
    run.form->setTrayIconShown(false);
    run.form->showMinimized();
    QTRY_VERIFY(!run.form->isMinimized());
    QVERIFY(run.form->isVisible());
}

void TestWindowLayout::minimisingWithTrayIconStaysMinimised()
{
    Run run;
    run.menus().mnuPorta->trigger();
    QTest::qWait(50);
    QVERIFY(run.form->isMinimized());
}

void TestWindowLayout::windowStyleTwice()
{
    Run run;
    for (int i = 0; i < 2; ++i) {
        run.menus().stilefin->trigger();
        // 1000 twips are 67 whole pixels.
        QCOMPARE(run.outer(), QRect(1005, 1005, 6000, 6000));
        QVERIFY(run.menus().stilefin->isChecked());
        QVERIFY(!run.menus().stiletool->isChecked());
        QVERIFY(!run.menus().allinea->isEnabled());
    }
}

void TestWindowLayout::barStyleAndDocking()
{
    Run run;
    run.menus().stilefin->trigger();
    run.menus().stiletool->trigger();
    QCOMPARE(run.outer(), QRect(0, 0, 1470, 11400));
    QVERIFY(run.menus().stiletool->isChecked());
    QVERIFY(!run.menus().stilefin->isChecked());
    QVERIFY(run.menus().allinea->isEnabled());
    // The 98 px bar holds two 42 px buttons whole; the cut ones are gone,
    // not left clickable at the edge.
    const ButtonToolbar &toolbar = *run.form->Toolbar1;
    QVERIFY(!toolbar.button(1)->isHidden() && !toolbar.button(2)->isHidden());
    QVERIFY(toolbar.button(3)->isHidden() && toolbar.button(4)->isHidden());
    QWidget *strip = run.form->Picture1;
    QVERIFY(!qobject_cast<QToolButton *>(strip->childAt(strip->width() - 2, 5)));
    run.menus().stilefin->trigger();
    QVERIFY(!toolbar.button(3)->isHidden() && !toolbar.button(4)->isHidden());
    run.menus().stiletool->trigger();
    run.menus().destra->trigger();
    QCOMPARE(run.outer(), QRect(12000 - 1470, 0, 1470, 11400));
    run.menus().sinistra->trigger();
    QCOMPARE(run.outer(), QRect(0, 0, 1470, 11400));
}

void TestWindowLayout::barAsksToFloatWhereWindowsTile()
{
    const auto fixedWidth = [](const QWidget &w) { return w.minimumWidth() == w.maximumWidth(); };
    Run run(true);
    QVERIFY(fixedWidth(*run.form));
    run.menus().stilefin->trigger();
    QCOMPARE(run.outer(), QRect(1005, 1005, 6000, 6000));
    QVERIFY(!fixedWidth(*run.form));
    run.menus().stiletool->trigger();
    QCOMPARE(run.outer(), QRect(0, 0, 1470, 11400));
    QVERIFY(fixedWidth(*run.form));
    // Where the window manager docks it, the bar asks for nothing.
    Run docking;
    QVERIFY(!fixedWidth(*docking.form));
}

void TestWindowLayout::alwaysOnTopKeepsTheNativeWindow()
{
    Run run;
    const WId before = run.form->winId();
    const QRect place = run.outer();
    QVERIFY(run.menus().mnutopmost->isChecked());
    run.menus().mnutopmost->trigger();
    QVERIFY(!run.menus().mnutopmost->isChecked());
    QVERIFY(!run.form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    run.menus().mnutopmost->trigger();
    QVERIFY(run.form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(run.form->winId(), before);
    QCOMPARE(run.outer(), place);
}

void TestWindowLayout::rightClickOnSurfaceOpensMenu_data()
{
    QTest::addColumn<bool>("onStrip");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("opens");
    QTest::newRow("surface, right") << false << int(Qt::RightButton) << true;
    QTest::newRow("strip, right") << true << int(Qt::RightButton) << true;
    QTest::newRow("surface, left") << false << int(Qt::LeftButton) << false;
}

void TestWindowLayout::rightClickOnSurfaceOpensMenu()
{
    QFETCH(bool, onStrip);
    QFETCH(int, button);
    QFETCH(bool, opens);
    Run run;
    run.form->geometryTwips().setOuterTwips(QRect(0, 0, 6000, 6000));
    QWidget *target = onStrip ? run.form->Picture1 : run.form->centralWidget();
    const QPoint spot = onStrip ? QPoint(target->width() - 3, 3) : QPoint(target->width() - 2, 5);
    QTest::mousePress(target, Qt::MouseButton(button), {}, spot);
    QCOMPARE(run.menus().cd->isVisible(), opens);
    QVERIFY(!run.menus().menuclicd->isVisible());
    run.menus().cd->close();
}

void TestWindowLayout::twipsRoundEachValueOnItsOwn()
{
    // 120 dpi across, 96 dpi down.
    struct : FakeScreenMetrics
    {
        double twipsPerPixelX() const override { return 12.0; }
    } screen;
    // Halves round away from zero.
    const Twips twips = Twips::of(screen);
    QCOMPARE(twips.toPixels(QRect(18, 22, 30, 8)), QRect(2, 1, 3, 1));
    QCOMPARE(twips.toPixels(QPoint(-18, -23)), QPoint(-2, -2));
    QCOMPARE(twips.toTwips(QRect(1, 1, 3, 2)), QRect(12, 15, 36, 30));
    QCOMPARE(twips.toTwips(twips.toPixels(QSize(1470, 11400))), QSize(1476, 11400));
    // Window frames take the vertical resolution across too.
    QCOMPARE(Twips::verticalOf(screen).toPixels(QSize(18, 18)), QSize(1, 1));
}

QTEST_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
