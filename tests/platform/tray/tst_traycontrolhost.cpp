// SPDX-License-Identifier: GPL-3.0-or-later
#include "traycontrolhost.h"
#include "windowmessageevent.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPixmap>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

Vandril::PictureRef picture(Vandril::Picture::Type type)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkGreen);
    return Vandril::makePicture(type, QIcon(pixmap));
}

void sendTrayMessage(QWidget *control, qintptr mouseMessage)
{
    WindowMessageEvent event(1125, 0, mouseMessage);
    QCoreApplication::sendEvent(control, &event);
}

} // namespace

class TestTrayControlHost : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void storedDefinition();
    void loadsThePluginByItsIdentifier();
    void forwardsPropertiesAndEvents();
    void showsTheControlsAboutBox();
    void controlEndsWithHostOrWindow();
    void withoutPluginKeepsValues_data();
    void withoutPluginKeepsValues();
};

void TestTrayControlHost::storedDefinition()
{
    const Vandril::PropertyBag saved = TrayControlHost::savedProperties();
    QCOMPARE(saved.ReadProperty(QStringLiteral("TrayVisible")), QVariant(false));
    QCOMPARE(saved.ReadProperty(QStringLiteral("TrayTip")), QVariant(QStringLiteral("Vandrillo")));
    const QVariant icon = saved.ReadProperty(QStringLiteral("TrayIcon"));
    QCOMPARE(icon.metaType(), QMetaType::fromType<Vandril::PictureRef>());
    QVERIFY(!icon.value<Vandril::PictureRef>());
    QCOMPARE(saved.keys().size(), 3);
}

void TestTrayControlHost::loadsThePluginByItsIdentifier()
{
    const QStringList dirs = TrayControlHost::defaultPluginDirs();
    QVERIFY2(!qEnvironmentVariableIsEmpty("SCRIVEL_PLUGIN_DIR"), "run through CTest");
    QCOMPARE(dirs.mid(0, 2), (QStringList{qEnvironmentVariable("SCRIVEL_PLUGIN_DIR"),
                                          QCoreApplication::applicationDirPath()}));
    QVERIFY(dirs.size() == 3 && dirs.at(2).endsWith(QStringLiteral("/scrivel")));

    QWidget window;
    QTemporaryDir empty; // searched first, in vain
    TrayControlHost host(&window, {empty.path(), dirs.first()});
    QVERIFY2(host.isLoaded(), qPrintable(host.errorString()));
    QVERIFY(host.errorString().isEmpty());
    QCOMPARE(host.control()->parentWidget(), &window);
    QCOMPARE(host.control()->metaObject()->className(), "Vandrillo");
    QVERIFY(host.control()->isHidden());
    // Started from the main window's stored definition.
    QCOMPARE(host.trayTip(), QStringLiteral("Vandrillo"));
    QVERIFY(!host.trayVisible());
    QVERIFY(!host.trayIcon());
}

void TestTrayControlHost::forwardsPropertiesAndEvents()
{
    QWidget window;
    TrayControlHost host(&window, TrayControlHost::defaultPluginDirs());
    QVERIFY2(host.isLoaded(), qPrintable(host.errorString()));

    const Vandril::PictureRef icon = picture(Vandril::Picture::Icon);
    host.setTrayIcon(icon);
    host.setTrayIcon(picture(Vandril::Picture::Bitmap));
    QCOMPARE(host.trayIcon(), icon);
    QCOMPARE(host.control()->property("TrayIcon").value<Vandril::PictureRef>(), icon);
    host.setTrayTip(QStringLiteral("Aggiornamento Scrivel: 3"));
    QCOMPARE(host.control()->property("TrayTip").toString(),
             QStringLiteral("Aggiornamento Scrivel: 3"));
    host.setTrayVisible(true);
    QVERIFY(host.control()->property("TrayVisible").toBool());
    QVERIFY(host.trayVisible());

    QSignalSpy move(&host, &TrayControlHost::MouseMove);
    QSignalSpy down(&host, &TrayControlHost::MouseDown);
    QSignalSpy up(&host, &TrayControlHost::MouseUp);
    QSignalSpy dbl(&host, &TrayControlHost::MouseDblClick);
    for (const qintptr message : {0x0200, 0x0201, 0x0205, 0x0206, 0x0207})
        sendTrayMessage(host.control(), message);
    QCOMPARE(move, (QList<QList<QVariant>>{{0}}));
    QCOMPARE(down, (QList<QList<QVariant>>{{1, 0}}));
    QCOMPARE(up, (QList<QList<QVariant>>{{2, 0}}));
    QCOMPARE(dbl, (QList<QList<QVariant>>{{2, 0}}));

    host.setTrayVisible(false);
    QVERIFY(!host.trayVisible());
}

void TestTrayControlHost::showsTheControlsAboutBox()
{
    QWidget window;
    TrayControlHost host(&window, TrayControlHost::defaultPluginDirs());
    QVERIFY2(host.isLoaded(), qPrintable(host.errorString()));
    QString title;
    QTimer::singleShot(0, this, [&] {
        if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            title = modal->windowTitle();
            modal->reject();
        }
    });
    host.ShowAboutBox();
    QCOMPARE(title, QStringLiteral("Controllo Vandrillo"));
}

void TestTrayControlHost::controlEndsWithHostOrWindow()
{
    QWidget window;
    QPointer<QWidget> control;
    {
        TrayControlHost host(&window, TrayControlHost::defaultPluginDirs());
        QVERIFY2(host.isLoaded(), qPrintable(host.errorString()));
        host.setTrayIcon(picture(Vandril::Picture::Icon));
        host.setTrayVisible(true);
        control = host.control();
    }
    QVERIFY(control.isNull());

    auto *early = new QWidget;
    TrayControlHost host(early, TrayControlHost::defaultPluginDirs());
    host.setTrayIcon(picture(Vandril::Picture::Icon));
    host.setTrayVisible(true);
    delete early; // takes the control, shown, with it
    QVERIFY(!host.control());
}

void TestTrayControlHost::withoutPluginKeepsValues_data()
{
    QTest::addColumn<QString>("folderContent");
    QTest::newRow("no folder") << QString();
    QTest::newRow("empty folder") << QStringLiteral("-");
    QTest::newRow("a file that is no plugin") << QStringLiteral("libnotaplugin.so");
}

void TestTrayControlHost::withoutPluginKeepsValues()
{
    QFETCH(QString, folderContent);
    QTemporaryDir dir;
    const QString folder =
        folderContent.isEmpty() ? dir.filePath(QStringLiteral("missing")) : dir.path();
    if (folderContent.endsWith(QStringLiteral(".so"))) {
        QFile file(dir.filePath(folderContent));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a library");
    }

    QWidget window;
    TrayControlHost host(&window, {folder});
    QVERIFY(!host.isLoaded());
    QVERIFY(!host.control());
    QVERIFY(host.errorString().contains(QStringLiteral("Vandril.Vandrillo")));
    QVERIFY(host.errorString().contains(folder));
    QVERIFY(window.findChildren<QWidget *>().isEmpty());
    QCOMPARE(host.trayTip(), QStringLiteral("Vandrillo"));
    QVERIFY(!host.trayVisible());
    QVERIFY(!host.trayIcon());

    const Vandril::PictureRef icon = picture(Vandril::Picture::Icon);
    host.setTrayIcon(icon);
    host.setTrayIcon(picture(Vandril::Picture::Bitmap));
    host.setTrayIcon({});
    QCOMPARE(host.trayIcon(), icon);
    host.setTrayTip(QStringLiteral("Scrivel sospeso"));
    QCOMPARE(host.trayTip(), QStringLiteral("Scrivel sospeso"));
    host.setTrayVisible(true);
    QVERIFY(host.trayVisible());
    host.ShowAboutBox(); // nothing to show; returns at once
}

QTEST_MAIN(TestTrayControlHost)
#include "tst_traycontrolhost.moc"
