// SPDX-License-Identifier: GPL-3.0-or-later
#include "controlfixture.h"
#include "windowmessageevent.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QList<ShellCall::Command> commands(const QList<ShellCall> &calls)
{
    QList<ShellCall::Command> result;
    for (const ShellCall &call : calls)
        result.append(call.command);
    return result;
}

void sendTrayMessage(QObject *window, qintptr mouseMessage, quint32 message = 1125)
{
    WindowMessageEvent event(message, 0, mouseMessage);
    QCoreApplication::sendEvent(window, &event);
}

// Sees the events of a widget after the filters installed later than itself.
class EventCounter : public QObject
{
public:
    int trayMessages = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == WindowMessageEvent::EventType)
            ++trayMessages;
        return false;
    }
};

} // namespace

class TestVandrillo : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void visibilityAddsAndRemovesOnce();
    void addCarriesWindowIdMessageAndHeldValues();
    void hiddenAssignmentsCallNoShellButReachTheNextAdd();
    void emptyTipAtAddThenSetLater();
    void tipField_data();
    void tipField();
    void modifyWhileShownSendsOneFlag();
    void nonIconPicturesAreIgnored_data();
    void nonIconPicturesAreIgnored();
    void notifications();
    void mouseMessages_data();
    void mouseMessages();
    void messagesRaiseNothingWhenNotShown();
    void trayMessagesArePassedOn();
    void destroyingHostWhileShownRemovesIcon();
    void designModeInstallsNothing();
    void keepsItsSquareSize();
};

void TestVandrillo::visibilityAddsAndRemovesOnce()
{
    ControlFixture f;
    f.control->setTrayVisible(true);
    f.control->setTrayVisible(true);
    QVERIFY(f.control->isInstalled());
    QCOMPARE(commands(*f.calls), QList<ShellCall::Command>{ShellCall::Add});

    f.control->setTrayVisible(false);
    f.control->setTrayVisible(false);
    QVERIFY(!f.control->isInstalled());
    QCOMPARE(commands(*f.calls), (QList<ShellCall::Command>{ShellCall::Add, ShellCall::Delete}));
    const NotifyIconData &removed = f.calls->last().data;
    QCOMPARE(f.calls->last().window, f.control.data());
    QCOMPARE(removed.uID, 0u);
    QCOMPARE(removed.uFlags, 0u);
}

void TestVandrillo::addCarriesWindowIdMessageAndHeldValues()
{
    ControlFixture f;
    const Vandril::PictureRef picture = ControlFixture::icon();
    f.control->setTrayIcon(picture);
    f.control->setTrayTip(QStringLiteral("Ciao"));
    f.control->setTrayVisible(true);

    QCOMPARE(f.calls->size(), 1);
    const NotifyIconData &data = f.calls->first().data;
    QCOMPARE(data.cbSize, 88u);
    QCOMPARE(f.calls->last().window, f.control.data());
    QCOMPARE(data.uID, 0u);
    QCOMPARE(data.uFlags, 1u | 2u | 4u);
    QCOMPARE(data.uCallbackMessage, 1125u);
    QCOMPARE(data.hIcon.cacheKey(), picture->image().cacheKey());
    QCOMPARE(data.szTip, QStringLiteral("Ciao").leftJustified(64));
}

void TestVandrillo::hiddenAssignmentsCallNoShellButReachTheNextAdd()
{
    ControlFixture f;
    f.control->setTrayVisible(true);
    f.control->setTrayVisible(false);
    f.calls->clear();

    const Vandril::PictureRef picture = ControlFixture::icon(Qt::green);
    f.control->setTrayIcon(picture);
    f.control->setTrayTip(QStringLiteral("Più tardi"));
    QVERIFY(f.calls->isEmpty());
    QCOMPARE(f.control->TrayIcon(), picture);
    QCOMPARE(f.control->TrayTip(), QStringLiteral("Più tardi"));

    f.control->setTrayVisible(true);
    QCOMPARE(commands(*f.calls), QList<ShellCall::Command>{ShellCall::Add});
    QCOMPARE(f.calls->first().data.hIcon.cacheKey(), picture->image().cacheKey());
    QCOMPARE(f.calls->first().data.szTip.trimmed(), QStringLiteral("Più tardi"));
}

void TestVandrillo::emptyTipAtAddThenSetLater()
{
    ControlFixture f;
    f.control->setTrayVisible(true);
    QCOMPARE(f.calls->first().data.uFlags, 1u); // message only: no icon, no tooltip

    f.control->setTrayTip(QStringLiteral("Adesso"));
    QCOMPARE(commands(*f.calls), (QList<ShellCall::Command>{ShellCall::Add, ShellCall::Modify}));
    QCOMPARE(f.calls->last().data.uFlags, 4u);
    QCOMPARE(f.calls->last().data.szTip, QStringLiteral("Adesso").leftJustified(64));
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
    QTest::newRow("trailing blanks kept")
        << QStringLiteral("a  ") << QStringLiteral("a") + QString(63, QLatin1Char(' '));
}

void TestVandrillo::tipField()
{
    QFETCH(QString, tip);
    QFETCH(QString, field);

    ControlFixture shownFirst;
    shownFirst.control->setTrayVisible(true);
    shownFirst.control->setTrayTip(tip);
    QCOMPARE(shownFirst.calls->last().data.szTip, field);
    QCOMPARE(shownFirst.control->TrayTip(), tip);

    ControlFixture tipFirst;
    tipFirst.control->setTrayTip(tip);
    tipFirst.control->setTrayVisible(true);
    QCOMPARE(tipFirst.calls->last().data.szTip, field);
    QCOMPARE(tipFirst.control->TrayTip(), tip);
}

void TestVandrillo::modifyWhileShownSendsOneFlag()
{
    ControlFixture f;
    f.control->setTrayVisible(true);
    const Vandril::PictureRef picture = ControlFixture::icon();
    f.control->setTrayIcon(picture);

    QCOMPARE(commands(*f.calls), (QList<ShellCall::Command>{ShellCall::Add, ShellCall::Modify}));
    const NotifyIconData &data = f.calls->last().data;
    QCOMPARE(data.uFlags, 2u);
    QCOMPARE(f.calls->last().window, f.control.data());
    QCOMPARE(data.hIcon.cacheKey(), picture->image().cacheKey());
    QVERIFY(data.szTip.isEmpty());
}

void TestVandrillo::nonIconPicturesAreIgnored_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<Vandril::PictureRef>("picture");
    QTest::newRow("bitmap, hidden") << false << ControlFixture::bitmap();
    QTest::newRow("bitmap, shown") << true << ControlFixture::bitmap();
    QTest::newRow("none, shown") << true << Vandril::PictureRef();
    QTest::newRow("untyped, shown")
        << true << Vandril::PictureRef(new Vandril::Picture(Vandril::Picture::None, QIcon()));
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

    f.control->setTrayIcon(picture);
    QCOMPARE(f.control->TrayIcon(), previous);
    QCOMPARE(f.calls->size(), callsBefore);
    QCOMPARE(changed.count(), 0);
}

void TestVandrillo::notifications()
{
    ControlFixture f;
    QSignalSpy visible(f.control.data(), &Vandrillo::TrayVisibleChanged);
    QSignalSpy tip(f.control.data(), &Vandrillo::TrayTipChanged);
    QSignalSpy icon(f.control.data(), &Vandrillo::TrayIconChanged);

    f.control->setTrayVisible(false); // unchanged: not notified
    QCOMPARE(visible.count(), 0);
    f.control->setTrayVisible(true);
    QCOMPARE(visible.count(), 1);
    f.control->setTrayTip(f.control->TrayTip()); // every tip assignment is notified
    QCOMPARE(tip.count(), 1);
    f.control->setTrayIcon(ControlFixture::icon());
    QCOMPARE(icon.count(), 1);

    // Reached by name, as a host does.
    QVERIFY(f.control->setProperty("TrayTip", QStringLiteral("per nome")));
    QCOMPARE(tip.count(), 2);
    QCOMPARE(f.control->property("TrayTip").toString(), QStringLiteral("per nome"));
    const Vandril::PictureRef picture = ControlFixture::icon(Qt::yellow);
    QVERIFY(f.control->setProperty("TrayIcon", QVariant::fromValue(picture)));
    QCOMPARE(f.control->property("TrayIcon").value<Vandril::PictureRef>(), picture);
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
    QTest::newRow("middle double") << 0x0209 << QString() << 0;
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
        if (name != event)
            continue;
        const QList<QVariant> arguments = spy->first();
        QCOMPARE(arguments.last().toInt(), 0); // Id
        if (button != 0) {
            QCOMPARE(arguments.size(), 2);
            QCOMPARE(arguments.first().toInt(), button);
        } else {
            QCOMPARE(arguments.size(), 1);
        }
    }
}

void TestVandrillo::messagesRaiseNothingWhenNotShown()
{
    ControlFixture f;
    QSignalSpy up(f.control.data(), &Vandrillo::MouseUp);
    sendTrayMessage(f.control, 0x0205);
    f.control->setTrayVisible(true);
    f.control->setTrayVisible(false);
    sendTrayMessage(f.control, 0x0205);
    QCOMPARE(up.count(), 0);

    f.control->setTrayVisible(true);
    sendTrayMessage(f.control, 0x0205, 1124); // another message: not the tray's
    QCOMPARE(up.count(), 0);
    sendTrayMessage(f.control, 0x0205);
    QCOMPARE(up.count(), 1);
}

void TestVandrillo::trayMessagesArePassedOn()
{
    ControlFixture f;
    // Installed before the control's own filter, so it runs after it.
    EventCounter counter;
    f.control->installEventFilter(&counter);
    f.control->setTrayVisible(true);
    QSignalSpy up(f.control.data(), &Vandrillo::MouseUp);

    sendTrayMessage(f.control, 0x0202);
    QCOMPARE(up.count(), 1);
    QCOMPARE(counter.trayMessages, 1);
}

void TestVandrillo::destroyingHostWhileShownRemovesIcon()
{
    ControlFixture f;
    f.control->setTrayVisible(true);
    const QObject *window = f.control;
    f.host.reset();
    QVERIFY(f.control.isNull());
    QCOMPARE(commands(*f.calls), (QList<ShellCall::Command>{ShellCall::Add, ShellCall::Delete}));
    QCOMPARE(f.calls->last().window, window);

    ControlFixture hidden;
    hidden.host.reset();
    QVERIFY(hidden.calls->isEmpty());
}

void TestVandrillo::designModeInstallsNothing()
{
    ControlFixture f(false);
    f.control->setTrayTip(QStringLiteral("x"));
    f.control->setTrayVisible(true);
    QVERIFY(f.calls->isEmpty());
    QVERIFY(!f.control->isInstalled());
    QVERIFY(f.control->TrayVisible());

    QSignalSpy move(f.control.data(), &Vandrillo::MouseMove);
    sendTrayMessage(f.control, 0x0200);
    QCOMPARE(move.count(), 0);

    f.control->setTrayVisible(false);
    f.host.reset();
    QVERIFY(f.calls->isEmpty());
}

void TestVandrillo::keepsItsSquareSize()
{
    ControlFixture f;
    const int side = int(std::lround(470.0 * f.control->logicalDpiX() / 1440.0));
    QCOMPARE(f.control->size(), QSize(side, side));
    f.control->resize(200, 90);
    QCOMPARE(f.control->size(), QSize(side, side));
    f.control->setGeometry(5, 6, 10, 300);
    QCOMPARE(f.control->geometry(), QRect(5, 6, side, side));
}

QTEST_MAIN(TestVandrillo)
#include "tst_vandrillo.moc"
