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
    void loadsThePluginByItsIdentifier();
    void forwardsProperties();
    void forwardsEvents();
    void showsTheControlsAboutBox();
    void endingTheHostEndsTheControl();
    void withoutPluginKeepsValues_data();
    void withoutPluginKeepsValues();
};

void TestTrayControlHost::loadsThePluginByItsIdentifier()
{
    QVERIFY2(!qEnvironmentVariableIsEmpty("SCRIVEL_PLUGIN_DIR"), "run through CTest");
    const QStringList dirs = TrayControlHost::defaultPluginDirs();
    QCOMPARE(dirs.first(), qEnvironmentVariable("SCRIVEL_PLUGIN_DIR"));
    QCOMPARE(dirs.at(1), QCoreApplication::applicationDirPath());
    QVERIFY(dirs.size() == 3 && dirs.at(2).endsWith(QStringLiteral("/scrivel")));

    QWidget window;
    // An empty folder first: the search goes on to the next.
    QTemporaryDir empty;
    TrayControlHost host(&window, {empty.path(), dirs.first()});
    QVERIFY2(host.isLoaded(), qPrintable(host.errorString()));
    QVERIFY(host.errorString().isEmpty());
    QCOMPARE(host.control()->parentWidget(), &window);
    QCOMPARE(host.control()->metaObject()->className(), "Vandrillo");
    QVERIFY(host.control()->isHidden());

    // The stored definition.
    QCOMPARE(host.trayTip(), QStringLiteral("Vandrillo"));
    QVERIFY(!host.trayVisible());
    QVERIFY(!host.trayIcon());
}

void TestTrayControlHost::forwardsProperties()
{
    QWidget window;
    TrayControlHost host(&window, TrayControlHost::defaultPluginDirs());
    QVERIFY2(host.isLoaded(), qPrintable(host.errorString()));

    const Vandril::PictureRef icon = picture(Vandril::Picture::Icon);
    host.setTrayIcon(icon);
    QCOMPARE(host.trayIcon(), icon);
    QCOMPARE(host.control()->property("TrayIcon").value<Vandril::PictureRef>(), icon);
    host.setTrayIcon(picture(Vandril::Picture::Bitmap));
    QCOMPARE(host.trayIcon(), icon);

    host.setTrayTip(QStringLiteral("Aggiornamento Scrivel: 3"));
    QCOMPARE(host.control()->property("TrayTip").toString(),
             QStringLiteral("Aggiornamento Scrivel: 3"));
    host.setTrayVisible(true);
    QVERIFY(host.control()->property("TrayVisible").toBool());
    QVERIFY(host.trayVisible());
    host.setTrayVisible(false);
    QVERIFY(!host.trayVisible());
}

void TestTrayControlHost::forwardsEvents()
{
    QWidget window;
    TrayControlHost host(&window, TrayControlHost::defaultPluginDirs());
    QVERIFY2(host.isLoaded(), qPrintable(host.errorString()));
    host.setTrayIcon(picture(Vandril::Picture::Icon));
    host.setTrayVisible(true);
    QSignalSpy move(&host, &TrayControlHost::MouseMove);
    QSignalSpy down(&host, &TrayControlHost::MouseDown);
    QSignalSpy up(&host, &TrayControlHost::MouseUp);
    QSignalSpy dbl(&host, &TrayControlHost::MouseDblClick);

    sendTrayMessage(host.control(), 0x0200);
    sendTrayMessage(host.control(), 0x0201);
    sendTrayMessage(host.control(), 0x0205);
    sendTrayMessage(host.control(), 0x0206);
    sendTrayMessage(host.control(), 0x0207);

    QCOMPARE(move.count(), 1);
    QCOMPARE(move.first(), QList<QVariant>{0});
    QCOMPARE(down.count(), 1);
    QCOMPARE(down.first(), (QList<QVariant>{1, 0}));
    QCOMPARE(up.count(), 1);
    QCOMPARE(up.first(), (QList<QVariant>{2, 0}));
    QCOMPARE(dbl.count(), 1);
    QCOMPARE(dbl.first(), (QList<QVariant>{2, 0}));
}

void TestTrayControlHost::showsTheControlsAboutBox()
{
    QWidget window;
    TrayControlHost host(&window, TrayControlHost::defaultPluginDirs());
    QVERIFY2(host.isLoaded(), qPrintable(host.errorString()));
    QString title;
    QTimer::singleShot(0, this, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            title = modal->windowTitle();
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
        }
    });
    host.ShowAboutBox();
    QCOMPARE(title, QStringLiteral("Controllo Vandrillo"));
}

void TestTrayControlHost::endingTheHostEndsTheControl()
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

    // The other way round: the window goes first, taking the control with it.
    auto *early = new QWidget;
    TrayControlHost host(early, TrayControlHost::defaultPluginDirs());
    QVERIFY(host.isLoaded());
    host.setTrayIcon(picture(Vandril::Picture::Icon));
    host.setTrayVisible(true);
    delete early;
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
    QStringList dirs;
    if (folderContent.isEmpty()) {
        dirs.append(dir.filePath(QStringLiteral("missing")));
    } else {
        dirs.append(dir.path());
        if (folderContent != QStringLiteral("-")) {
            QFile file(dir.filePath(folderContent));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a library");
        }
    }

    QWidget window;
    TrayControlHost host(&window, dirs);
    QVERIFY(!host.isLoaded());
    QVERIFY(!host.control());
    QVERIFY(host.errorString().contains(QStringLiteral("Vandril.Vandrillo")));
    QVERIFY(host.errorString().contains(dirs.first()));
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
    host.ShowAboutBox(); // nothing to show; must not block or crash
}

QTEST_MAIN(TestTrayControlHost)
#include "tst_traycontrolhost.moc"
