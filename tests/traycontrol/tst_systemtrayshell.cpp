// SPDX-License-Identifier: GPL-3.0-or-later
#include "messagewindow.h"
#include "notifyicondata.h"
#include "systemtrayshell.h"

#include <QPixmap>
#include <QPointer>
#include <QTest>

namespace {

NotifyIconData request(QObject *window, quint32 flags, quint32 id = 0)
{
    NotifyIconData data;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = flags;
    data.uCallbackMessage = NotifyIconData::TrayMessage;
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    data.hIcon = QIcon(pixmap);
    data.szTip = NotifyIconData::tipField(QStringLiteral("Suggerimento"));
    return data;
}

constexpr quint32 AllFlags =
    NotifyIconData::MessageFlag | NotifyIconData::IconFlag | NotifyIconData::TipFlag;

} // namespace

class TestSystemTrayShell : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addModifyRemove();
    void activations_data();
    void activations();
    void hoverIsMouseMove();
    void noMessageFlagNoNotifications();
    void handlerRemovesIconMidClick();
    void handlerEndsShellMidClick();
};

void TestSystemTrayShell::addModifyRemove()
{
    SystemTrayShell shell;
    MessageWindow window;
    QVERIFY(shell.add(request(&window, AllFlags)));
    QVERIFY(!shell.add(request(&window, AllFlags))); // the same window and id twice
    QVERIFY(shell.add(request(&window, AllFlags, 7)));
    QVERIFY(!shell.add(request(nullptr, AllFlags)));
    auto *icon = shell.findChildren<QSystemTrayIcon *>().value(0);
    QVERIFY(icon);
    // The blanks that pad the tip field are not shown.
    QCOMPARE(icon->toolTip(), QStringLiteral("Suggerimento"));

    // Only the flagged field changes.
    NotifyIconData tip = request(&window, NotifyIconData::TipFlag);
    tip.szTip = NotifyIconData::tipField(QStringLiteral("Altro  testo"));
    const qint64 iconKey = icon->icon().cacheKey();
    QVERIFY(shell.modify(tip));
    QCOMPARE(icon->toolTip(), QStringLiteral("Altro  testo"));
    QCOMPARE(icon->icon().cacheKey(), iconKey);
    NotifyIconData picture = request(&window, NotifyIconData::IconFlag);
    QVERIFY(shell.modify(picture));
    QCOMPARE(icon->icon().cacheKey(), picture.hIcon.cacheKey());
    QCOMPARE(icon->toolTip(), QStringLiteral("Altro  testo"));

    QVERIFY(shell.remove(request(&window, 0)));
    QVERIFY(!shell.remove(request(&window, 0)));
    QVERIFY(!shell.modify(tip));
    QCOMPARE(shell.findChildren<QSystemTrayIcon *>().size(), 1);
}

void TestSystemTrayShell::activations_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<QList<qintptr>>("expected");
    QTest::newRow("left click") << int(QSystemTrayIcon::Trigger) << QList<qintptr>{0x0201, 0x0202};
    QTest::newRow("right click") << int(QSystemTrayIcon::Context) << QList<qintptr>{0x0204, 0x0205};
    QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << QList<qintptr>{0x0203};
    QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick)
                                  << QList<qintptr>{0x0207, 0x0208};
    QTest::newRow("unknown") << int(QSystemTrayIcon::Unknown) << QList<qintptr>{};
}

void TestSystemTrayShell::activations()
{
    QFETCH(int, reason);
    QFETCH(QList<qintptr>, expected);
    SystemTrayShell shell;
    MessageWindow window;
    QVERIFY(shell.add(request(&window, AllFlags, 3)));
    auto *icon = shell.findChild<QSystemTrayIcon *>();
    QVERIFY(icon);

    Q_EMIT icon->activated(QSystemTrayIcon::ActivationReason(reason));
    QCOMPARE(window.mouseMessages, expected);
    QCOMPARE(window.messages, QList<quint32>(expected.size(), 1125u));
    QCOMPARE(window.ids, QList<quintptr>(expected.size(), 3u));
}

void TestSystemTrayShell::hoverIsMouseMove()
{
    SystemTrayShell shell;
    MessageWindow window;
    QVERIFY(shell.add(request(&window, AllFlags)));
    auto *icon = shell.findChild<QSystemTrayIcon *>();
    QEvent toolTip(QEvent::ToolTip);
    QCoreApplication::sendEvent(icon, &toolTip);
    QCOMPARE(window.mouseMessages, QList<qintptr>{0x0200});
}

void TestSystemTrayShell::noMessageFlagNoNotifications()
{
    SystemTrayShell shell;
    MessageWindow window;
    QVERIFY(shell.add(request(&window, NotifyIconData::IconFlag)));
    auto *icon = shell.findChild<QSystemTrayIcon *>();
    Q_EMIT icon->activated(QSystemTrayIcon::Trigger);
    QVERIFY(window.mouseMessages.isEmpty());

    // Given later, the callback message starts the notifications.
    QVERIFY(shell.modify(request(&window, NotifyIconData::MessageFlag)));
    Q_EMIT icon->activated(QSystemTrayIcon::Trigger);
    QCOMPARE(window.mouseMessages, (QList<qintptr>{0x0201, 0x0202}));
}

void TestSystemTrayShell::handlerRemovesIconMidClick()
{
    SystemTrayShell shell;
    MessageWindow window;
    QVERIFY(shell.add(request(&window, AllFlags)));
    QPointer<QSystemTrayIcon> icon = shell.findChild<QSystemTrayIcon *>();
    window.onMessage = [&] { shell.remove(request(&window, 0)); };

    Q_EMIT icon->activated(QSystemTrayIcon::Trigger);
    // The release is not delivered for an icon that is gone; the icon itself goes once
    // its click is over.
    QCOMPARE(window.mouseMessages, QList<qintptr>{0x0201});
    QVERIFY(!icon.isNull());
    QVERIFY(!icon->isVisible());
    QTRY_VERIFY(icon.isNull());
}

void TestSystemTrayShell::handlerEndsShellMidClick()
{
    auto *shell = new SystemTrayShell;
    MessageWindow window;
    QVERIFY(shell->add(request(&window, AllFlags)));
    QPointer<QSystemTrayIcon> icon = shell->findChild<QSystemTrayIcon *>();
    window.onMessage = [&] {
        delete shell;
        shell = nullptr;
    };

    Q_EMIT icon->activated(QSystemTrayIcon::Context);
    QCOMPARE(window.mouseMessages, QList<qintptr>{0x0204});
    QTRY_VERIFY(icon.isNull());
}

QTEST_MAIN(TestSystemTrayShell)
#include "tst_systemtrayshell.moc"
