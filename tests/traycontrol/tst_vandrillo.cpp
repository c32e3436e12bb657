// SPDX-License-Identifier: GPL-3.0-or-later
#include "controlfixture.h"
#include "windowmessageevent.h"

#include <QSignalSpy>
#include <QTest>

namespace {

void sendTrayMessage(QObject *window, qintptr mouseMessage, quint32 message = 1125, QPoint pos = {})
{
    WindowMessageEvent event(message, 0, mouseMessage, pos);
    QCoreApplication::sendEvent(window, &event);
}

// Sees a widget's events after the filters installed later than itself.
class EventCounter : public QObject
{
public:
    int trayMessages = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        trayMessages += event->type() == WindowMessageEvent::EventType;
        return false;
    }
};

} // namespace

class TestVandrillo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void visibilityAddsAndRemovesOnce();
    void hiddenAssignmentsReachTheNextAdd();
    void emptyTipAtAddThenSetLater();
    void tipField_data();
    void tipField();
    void nonIconPicturesAreIgnored_data();
    void nonIconPicturesAreIgnored();
    void mouseMessages_data();
    void mouseMessages();
    void messagesOnlyWhileShownAndPassedOn();
    void clickPositionDuringItsEventsOnly();
    void destroyingHostWhileShownRemovesIcon();
    void keepsItsSquareSize();
};

void TestVandrillo::visibilityAddsAndRemovesOnce()
{
    ControlFixture f;
    QSignalSpy changed(f.control.data(), &Vandrillo::TrayVisibleChanged);
    f.control->setTrayVisible(true);
    f.control->setTrayVisible(true);
    QCOMPARE(f.commands(), QList<ShellCall::Command>{ShellCall::Add});
    f.control->setTrayVisible(false);
    f.control->setTrayVisible(false);
    QCOMPARE(f.commands(), (QList<ShellCall::Command>{ShellCall::Add, ShellCall::Delete}));
    QCOMPARE(changed.count(), 2);

    const ShellCall &removed = f.calls->last();
    QCOMPARE(removed.window, f.control.data());
    QCOMPARE(removed.data.uID, 0u);
    QCOMPARE(removed.data.uFlags, 0u);
}

void TestVandrillo::hiddenAssignmentsReachTheNextAdd()
{
    ControlFixture f;
    const Vandril::PictureRef picture = ControlFixture::icon();
    f.control->setTrayIcon(picture);
    f.control->setTrayTip(QStringLiteral("Più tardi"));
    QVERIFY(f.calls->isEmpty());
    QCOMPARE(f.control->TrayIcon(), picture);

    f.control->setTrayVisible(true);
    QCOMPARE(f.commands(), QList<ShellCall::Command>{ShellCall::Add});
    const ShellCall &add = f.calls->first();
    QCOMPARE(add.data.cbSize, 88u);
    QCOMPARE(add.window, f.control.data());
    QCOMPARE(add.data.uID, 0u);
    QCOMPARE(add.data.uFlags, 1u | 2u | 4u);
    QCOMPARE(add.data.uCallbackMessage, 1125u);
    QCOMPARE(add.data.hIcon.cacheKey(), picture->image().cacheKey());
    QCOMPARE(add.data.szTip, QStringLiteral("Più tardi").leftJustified(64));
}

void TestVandrillo::emptyTipAtAddThenSetLater()
{
    ControlFixture f;
    f.control->setTrayVisible(true);
    QCOMPARE(f.calls->first().data.uFlags, 1u); // no icon, no tooltip

    f.control->setTrayTip(QStringLiteral("Adesso"));
    const Vandril::PictureRef picture = ControlFixture::icon();
    f.control->setTrayIcon(picture);
    QCOMPARE(f.commands(),
             (QList<ShellCall::Command>{ShellCall::Add, ShellCall::Modify, ShellCall::Modify}));
    QCOMPARE(f.calls->at(1).data.uFlags, 4u);
    QCOMPARE(f.calls->at(1).data.szTip, QStringLiteral("Adesso").leftJustified(64));
    QCOMPARE(f.calls->at(2).data.uFlags, 2u);
    QCOMPARE(f.calls->at(2).data.hIcon.cacheKey(), picture->image().cacheKey());
}

void TestVandrillo::tipField_data()
{
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("field");
    const QString seventy = QString(60, QLatin1Char('a')) + QStringLiteral("0123456789");
    QTest::newRow("short, padded") << QStringLiteral("Vandrillo")
                                   << QStringLiteral("Vandrillo") + QString(55, QLatin1Char(' '));
    QTest::newRow("70 characters, cut") << seventy << seventy.left(64);
    QTest::newRow("exactly 64") << QString(64, QLatin1Char('x')) << QString(64, QLatin1Char('x'));
}

void TestVandrillo::tipField()
{
    QFETCH(QString, tip);
    QFETCH(QString, field);
    for (const bool shownFirst : {true, false}) {
        ControlFixture f;
        f.control->setTrayVisible(shownFirst);
        f.control->setTrayTip(tip);
        f.control->setTrayVisible(true);
        QCOMPARE(f.calls->last().data.szTip, field);
        QCOMPARE(f.control->TrayTip(), tip); // held whole
    }
}

void TestVandrillo::nonIconPicturesAreIgnored_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<Vandril::PictureRef>("picture");
    QTest::newRow("bitmap, hidden") << false << ControlFixture::bitmap();
    QTest::newRow("bitmap, shown") << true << ControlFixture::bitmap();
    QTest::newRow("none, shown") << true << Vandril::PictureRef();
}

void TestVandrillo::nonIconPicturesAreIgnored()
{
    QFETCH(bool, shown);
    QFETCH(Vandril::PictureRef, picture);
    ControlFixture f;
    const Vandril::PictureRef previous = ControlFixture::icon();
    f.control->setTrayIcon(previous);
    f.control->setTrayVisible(shown);
    const qsizetype callsBefore = f.calls->size();
    QSignalSpy changed(f.control.data(), &Vandrillo::TrayIconChanged);

    // Assigned by name, as a host does.
    f.control->setProperty("TrayIcon", QVariant::fromValue(picture));
    QCOMPARE(f.control->property("TrayIcon").value<Vandril::PictureRef>(), previous);
    QCOMPARE(f.calls->size(), callsBefore);
    QCOMPARE(changed.count(), 0);
}

void TestVandrillo::mouseMessages_data()
{
    QTest::addColumn<int>("mouseMessage");
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("button");
    QTest::newRow("move") << 0x0200 << QStringLiteral("MouseMove") << 0;
    QTest::newRow("left down") << 0x0201 << QStringLiteral("MouseDown") << 1;
    QTest::newRow("left up") << 0x0202 << QStringLiteral("MouseUp") << 1;
    QTest::newRow("left double") << 0x0203 << QStringLiteral("MouseDblClick") << 1;
    QTest::newRow("right down") << 0x0204 << QStringLiteral("MouseDown") << 2;
    QTest::newRow("right up") << 0x0205 << QStringLiteral("MouseUp") << 2;
    QTest::newRow("right double") << 0x0206 << QStringLiteral("MouseDblClick") << 2;
    QTest::newRow("middle down") << 0x0207 << QString() << 0;
    QTest::newRow("middle up") << 0x0208 << QString() << 0;
    QTest::newRow("wheel") << 0x020A << QString() << 0;
}

void TestVandrillo::mouseMessages()
{
    QFETCH(int, mouseMessage);
    QFETCH(QString, event);
    QFETCH(int, button);
    ControlFixture f;
    f.control->setTrayVisible(true);
    QSignalSpy move(f.control.data(), &Vandrillo::MouseMove);
    QSignalSpy down(f.control.data(), &Vandrillo::MouseDown);
    QSignalSpy up(f.control.data(), &Vandrillo::MouseUp);
    QSignalSpy dbl(f.control.data(), &Vandrillo::MouseDblClick);

    sendTrayMessage(f.control, mouseMessage);

    const QList<std::pair<QString, QSignalSpy *>> spies = {{QStringLiteral("MouseMove"), &move},
                                                           {QStringLiteral("MouseDown"), &down},
                                                           {QStringLiteral("MouseUp"), &up},
                                                           {QStringLiteral("MouseDblClick"), &dbl}};
    for (const auto &[name, spy] : spies) {
        QCOMPARE(spy->count(), name == event ? 1 : 0);
        if (name == event) {
            const QList<QVariant> expected =
                button ? QList<QVariant>{button, 0} : QList<QVariant>{0}; // (Button,) Id
            QCOMPARE(spy->first(), expected);
        }
    }
}

void TestVandrillo::messagesOnlyWhileShownAndPassedOn()
{
    ControlFixture f;
    // Installed before the control's own filter, so it runs after it.
    EventCounter counter;
    f.control->installEventFilter(&counter);
    QSignalSpy up(f.control.data(), &Vandrillo::MouseUp);
    sendTrayMessage(f.control, 0x0205);
    f.control->setTrayVisible(true);
    f.control->setTrayVisible(false);
    sendTrayMessage(f.control, 0x0205);
    QCOMPARE(up.count(), 0);

    f.control->setTrayVisible(true);
    sendTrayMessage(f.control, 0x0205, 1124); // not the tray's message
    QCOMPARE(up.count(), 0);
    sendTrayMessage(f.control, 0x0205);
    QCOMPARE(up.count(), 1);
    QCOMPARE(counter.trayMessages, 4);
}

void TestVandrillo::clickPositionDuringItsEventsOnly()
{
    ControlFixture f;
    f.control->setTrayVisible(true);
    QList<QPoint> seen;
    connect(f.control.data(), &Vandrillo::MouseUp, this, [&] {
        // Read by name, as a host does; a message sent from the handler has its own.
        seen.append(f.control->property("TrayClickPos").toPoint());
        if (seen.size() == 1)
            sendTrayMessage(f.control, 0x0205);
        seen.append(f.control->property("TrayClickPos").toPoint());
    });
    sendTrayMessage(f.control, 0x0202, 1125, QPoint(1250, 1010));
    QCOMPARE(seen, (QList<QPoint>{{1250, 1010}, {0, 0}, {0, 0}, {1250, 1010}}));
    QCOMPARE(f.control->TrayClickPos(), QPoint());
}

void TestVandrillo::destroyingHostWhileShownRemovesIcon()
{
    ControlFixture f;
    f.control->setTrayVisible(true);
    const QObject *window = f.control;
    f.host.reset();
    QCOMPARE(f.commands(), (QList<ShellCall::Command>{ShellCall::Add, ShellCall::Delete}));
    QCOMPARE(f.calls->last().window, window);

    ControlFixture hidden;
    hidden.host.reset();
    QVERIFY(hidden.calls->isEmpty());
}

void TestVandrillo::keepsItsSquareSize()
{
    ControlFixture f;
    const int side = int(std::lround(470.0 * f.control->logicalDpiX() / 1440.0));
    QCOMPARE(f.control->size(), QSize(side, side));
    f.control->setGeometry(5, 6, 200, 90);
    QCOMPARE(f.control->geometry(), QRect(5, 6, side, side));
}

QTEST_MAIN(TestVandrillo)
#include "tst_vandrillo.moc"
