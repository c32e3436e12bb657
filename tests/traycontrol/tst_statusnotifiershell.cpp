// SPDX-License-Identifier: GPL-3.0-or-later
#include "messagewindow.h"
#include "notificationareashell.h"
#include "notifierbus.h"
#include "notifyicondata.h"
#include "recordingshell.h"
#include "statusnotifieritem.h"
#include "statusnotifiershell.h"
#include "statusnotifiertypes.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <memory>

namespace {

// A session bus of the test's own.
class PrivateBus
{
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address=1")});
        if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }

    // A connection of the test's own, as a host or a watcher has.
    QDBusConnection connect(const QString &name) const
    {
        return QDBusConnection::connectToBus(address, name);
    }

    QString address;

private:
    QProcess m_daemon;
};

// The smallest watcher: takes the watcher's name, reports a host and records the items
// that register with it.
class TestWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    explicit TestWatcher(const PrivateBus &bus) : m_bus(bus) {}
    ~TestWatcher() override { stop(); }

    // Takes the name, or waits in line for it while another watcher has it.
    void start(const QString &name)
    {
        m_connection = m_bus.connect(name);
        m_connection.registerObject(StatusNotifier::WatcherPath, this,
                                    QDBusConnection::ExportScriptableContents);
        m_connection.interface()->registerService(StatusNotifier::WatcherService,
                                                  QDBusConnectionInterface::QueueService);
    }
    // The watcher's process ends: its name and its connection go.
    void stop()
    {
        if (!m_connection.isConnected())
            return;
        m_connection.unregisterObject(StatusNotifier::WatcherPath);
        QDBusConnection::disconnectFromBus(m_connection.name());
        m_connection = QDBusConnection(QString());
    }

    bool hostRegistered() const { return true; }
    QStringList items() const { return m_registered; }
    int protocolVersion() const { return 0; }

public Q_SLOTS:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString &service)
    {
        m_registered.append(service);
    }

private:
    const PrivateBus &m_bus;
    QDBusConnection m_connection{QString()};
    QStringList m_registered;
};

// Records the signals a host hears.
class SignalRecorder : public QObject
{
    Q_OBJECT
public:
    QStringList heard;
public Q_SLOTS:
    void record(const QDBusMessage &message) { heard.append(message.member()); }
};

// An icon drawn on its own at each size, in a colour of that size.
QIcon iconPerSize()
{
    QIcon icon;
    for (const int size : StatusNotifier::IconSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(QColor(size, 255 - size, 3 * size));
        icon.addPixmap(pixmap);
    }
    return icon;
}

NotifyIconData request(QObject *window, const QString &tip = QStringLiteral("Suggerimento"))
{
    NotifyIconData data;
    data.hWnd = window;
    data.uID = 4;
    data.uFlags = NotifyIconData::MessageFlag | NotifyIconData::IconFlag | NotifyIconData::TipFlag;
    data.uCallbackMessage = NotifyIconData::TrayMessage;
    data.hIcon = iconPerSize();
    data.szTip = NotifyIconData::tipField(tip);
    return data;
}

QString serviceOf(const StatusNotifierShell &shell)
{
    return shell.items().isEmpty() ? QString() : shell.items().constFirst()->serviceName();
}

} // namespace

class TestStatusNotifierShell : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void itemAsHostsReadIt();
    void hostCallsBecomeMouseMessages_data();
    void hostCallsBecomeMouseMessages();
    void changesAreAnnouncedAndRemovalLeavesTheBus();
    void iconFollowsTheWatcher();
    void withoutClassicTrayTheIconWaits();

private:
    QVariantMap itemProperties(const QString &service);
    QDBusConnection host();

    std::unique_ptr<PrivateBus> m_bus;
};

void TestStatusNotifierShell::initTestCase()
{
    m_bus = std::make_unique<PrivateBus>();
    if (m_bus->address.isEmpty())
        QSKIP("dbus-daemon could not be started");
    StatusNotifier::registerTypes();
}

// The items answer on this thread: calls to them wait with the events running.
QDBusConnection TestStatusNotifierShell::host()
{
    return m_bus->connect(QStringLiteral("host"));
}

QVariantMap TestStatusNotifierShell::itemProperties(const QString &service)
{
    QDBusMessage getAll = QDBusMessage::createMethodCall(
        service, StatusNotifier::ItemPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("GetAll"));
    getAll << QStringLiteral("org.kde.StatusNotifierItem");
    const QDBusReply<QVariantMap> reply = host().call(getAll, QDBus::BlockWithGui);
    return reply.isValid() ? reply.value() : QVariantMap();
}

void TestStatusNotifierShell::itemAsHostsReadIt()
{
    TestWatcher watcher(*m_bus);
    watcher.start(QStringLiteral("watcher"));
    StatusNotifierShell shell(NotifierBus::at(m_bus->address));
    MessageWindow window;
    QVERIFY(shell.add(request(&window)));
    QVERIFY(!shell.add(request(&window)));
    const QString service = serviceOf(shell);
    QTRY_COMPARE(watcher.items(), QStringList{service});

    const QVariantMap properties = itemProperties(service);
    QCOMPARE(properties.value(QStringLiteral("Category")).toString(),
             QStringLiteral("ApplicationStatus"));
    QCOMPARE(properties.value(QStringLiteral("Status")).toString(), QStringLiteral("Active"));
    QCOMPARE(properties.value(QStringLiteral("Id")).toString(),
             QCoreApplication::applicationName());
    QCOMPARE(properties.value(QStringLiteral("ItemIsMenu")).toBool(), false);
    // The tip field's padding is not shown.
    const auto toolTip = qdbus_cast<NotifierToolTip>(properties.value(QStringLiteral("ToolTip")));
    QCOMPARE(toolTip.title, QStringLiteral("Suggerimento"));

    // Every size, each from its own picture, ARGB in network byte order.
    const auto pixmaps =
        qdbus_cast<NotifierPixmaps>(properties.value(QStringLiteral("IconPixmap")));
    QCOMPARE(pixmaps.size(), qsizetype(std::size(StatusNotifier::IconSizes)));
    for (qsizetype i = 0; i < pixmaps.size(); ++i) {
        const int size = StatusNotifier::IconSizes[i];
        QCOMPARE(pixmaps[i].width, size);
        QCOMPARE(pixmaps[i].height, size);
        QCOMPARE(pixmaps[i].data.size(), qsizetype(size) * size * 4);
        const char argb[] = {char(255), char(size), char(255 - size), char(3 * size)};
        const QByteArray expected(argb, 4);
        QCOMPARE(pixmaps[i].data.left(4), expected);
    }

    // The menu a host shows instead of passing the right click on: one disabled entry.
    QVERIFY(!properties.value(QStringLiteral("Menu")).value<QDBusObjectPath>().path().isEmpty());
    QDBusMessage getLayout = QDBusMessage::createMethodCall(
        service, properties.value(QStringLiteral("Menu")).value<QDBusObjectPath>().path(),
        QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("GetLayout"));
    getLayout << 0 << -1 << QStringList();
    const QDBusMessage layoutReply = host().call(getLayout, QDBus::BlockWithGui);
    QCOMPARE(layoutReply.type(), QDBusMessage::ReplyMessage);
    const auto layout = qdbus_cast<NotifierMenuLayout>(layoutReply.arguments().value(1));
    QCOMPARE(layout.children.size(), 1);
    QCOMPARE(layout.children[0].properties.value(QStringLiteral("enabled")), QVariant(false));
}

void TestStatusNotifierShell::hostCallsBecomeMouseMessages_data()
{
    QTest::addColumn<QString>("interface");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QVariantList>("arguments");
    QTest::addColumn<QList<qintptr>>("expected");
    QTest::addColumn<QPoint>("pos");
    const QString item = QStringLiteral("org.kde.StatusNotifierItem");
    const QString menu = QStringLiteral("com.canonical.dbusmenu");
    QTest::newRow("Activate") << item << "Activate" << QVariantList{1250, 1010}
                              << QList<qintptr>{0x0201, 0x0202} << QPoint(1250, 1010);
    QTest::newRow("ContextMenu") << item << "ContextMenu" << QVariantList{0, 0}
                                 << QList<qintptr>{0x0204, 0x0205} << QPoint();
    QTest::newRow("SecondaryActivate") << item << "SecondaryActivate" << QVariantList{3, 4}
                                       << QList<qintptr>{0x0207, 0x0208} << QPoint(3, 4);
    QTest::newRow("Scroll") << item << "Scroll" << QVariantList{120, QStringLiteral("vertical")}
                            << QList<qintptr>{} << QPoint();
    // Announced twice, as GTK's menus do: one right click.
    QTest::newRow("menu opened") << menu << "AboutToShow" << QVariantList{0}
                                 << QList<qintptr>{0x0204, 0x0205} << QPoint();
}

void TestStatusNotifierShell::hostCallsBecomeMouseMessages()
{
    QFETCH(QString, interface);
    QFETCH(QString, method);
    QFETCH(QVariantList, arguments);
    QFETCH(QList<qintptr>, expected);
    QFETCH(QPoint, pos);
    StatusNotifierShell shell(NotifierBus::at(m_bus->address));
    MessageWindow window;
    QVERIFY(shell.add(request(&window)));
    const QString path = interface == QLatin1String("com.canonical.dbusmenu")
                             ? StatusNotifier::MenuPath
                             : StatusNotifier::ItemPath;
    QDBusMessage call = QDBusMessage::createMethodCall(serviceOf(shell), path, interface, method);
    call.setArguments(arguments);
    QCOMPARE(host().call(call, QDBus::BlockWithGui).type(), QDBusMessage::ReplyMessage);
    if (method == QLatin1String("AboutToShow")) {
        QDBusMessage opened = QDBusMessage::createMethodCall(serviceOf(shell), path, interface,
                                                             QStringLiteral("Event"));
        opened << 0 << QStringLiteral("opened") << QVariant::fromValue(QDBusVariant(0)) << 0u;
        QCOMPARE(host().call(opened, QDBus::BlockWithGui).type(), QDBusMessage::ReplyMessage);
    }
    // A left click after it: what came before it is all the call gave.
    QDBusMessage activate = QDBusMessage::createMethodCall(
        serviceOf(shell), StatusNotifier::ItemPath, QStringLiteral("org.kde.StatusNotifierItem"),
        QStringLiteral("Activate"));
    activate << 7 << 8;
    QCOMPARE(host().call(activate, QDBus::BlockWithGui).type(), QDBusMessage::ReplyMessage);
    QTRY_COMPARE(window.mouseMessages.size(), expected.size() + 2);

    QCOMPARE(window.mouseMessages.mid(0, expected.size()), expected);
    QCOMPARE(window.positions.mid(0, expected.size()), QList<QPoint>(expected.size(), pos));
    QCOMPARE(window.messages, QList<quint32>(expected.size() + 2, 1125u));
}

void TestStatusNotifierShell::changesAreAnnouncedAndRemovalLeavesTheBus()
{
    StatusNotifierShell shell(NotifierBus::at(m_bus->address));
    MessageWindow window;
    QVERIFY(shell.add(request(&window)));
    const QString service = serviceOf(shell);
    QDBusConnection hostBus = host();
    SignalRecorder recorder;
    QStringList &announced = recorder.heard;
    for (const char *signal : {"NewIcon", "NewToolTip"})
        QVERIFY(hostBus.connect(
            service, StatusNotifier::ItemPath, QStringLiteral("org.kde.StatusNotifierItem"),
            QString::fromLatin1(signal), &recorder, SLOT(record(QDBusMessage))));
    // A call to the item after subscribing: the bus has the subscription when it answers.
    QVERIFY(!itemProperties(service).isEmpty());

    NotifyIconData tip = request(&window, QStringLiteral("Aggiornamento Scrivel: 2 elementi"));
    tip.uFlags = NotifyIconData::TipFlag;
    QVERIFY(shell.modify(tip));
    QTRY_COMPARE(announced, QStringList{QStringLiteral("NewToolTip")});
    NotifyIconData picture = request(&window);
    picture.uFlags = NotifyIconData::IconFlag;
    QPixmap green(16, 16);
    green.fill(Qt::green);
    picture.hIcon = QIcon(green);
    QVERIFY(shell.modify(picture));
    QTRY_COMPARE(announced.size(), 2);
    QCOMPARE(announced.last(), QStringLiteral("NewIcon"));
    const QVariantMap properties = itemProperties(service);
    QCOMPARE(qdbus_cast<NotifierToolTip>(properties.value(QStringLiteral("ToolTip"))).title,
             QStringLiteral("Aggiornamento Scrivel: 2 elementi"));
    const auto pixmaps =
        qdbus_cast<NotifierPixmaps>(properties.value(QStringLiteral("IconPixmap")));
    QCOMPARE(pixmaps.size(), 1); // a 16-pixel picture is never blown up
    QCOMPARE(pixmaps[0].data.left(4), QByteArray("\xff\x00\xff\x00", 4));

    QVERIFY(shell.remove(request(&window)));
    QVERIFY(!shell.remove(request(&window)));
    QVERIFY(!hostBus.interface()->isServiceRegistered(service));
}

void TestStatusNotifierShell::iconFollowsTheWatcher()
{
    TestWatcher watcher(*m_bus);
    watcher.start(QStringLiteral("watcher-1"));
    auto calls = std::make_shared<QList<ShellCall>>();
    int classicMade = 0;
    NotificationAreaShell shell(NotifierBus::at(m_bus->address), [&] {
        ++classicMade;
        return std::make_unique<RecordingShell>(calls);
    });
    MessageWindow window;
    QVERIFY(shell.add(request(&window)));
    QCOMPARE(shell.holder(), nullptr); // until the watcher answers
    QTRY_COMPARE(shell.holder(), &shell.items());
    QTRY_COMPARE(watcher.items().size(), 1);
    QCOMPARE(classicMade, 0); // never asked while a host shows items

    // The panel ends: the icon goes to the classic tray, whole, and leaves the bus.
    const QString first = serviceOf(shell.items());
    watcher.stop();
    QTRY_VERIFY(shell.holder() != &shell.items());
    QCOMPARE(calls->size(), 1);
    QCOMPARE(calls->at(0).command, ShellCall::Add);
    QCOMPARE(calls->at(0).data.szTip, NotifyIconData::tipField(QStringLiteral("Suggerimento")));
    QCOMPARE(calls->at(0).data.uFlags, request(&window).uFlags);
    QVERIFY(shell.items().items().isEmpty());
    QVERIFY(!host().interface()->isServiceRegistered(first));

    // A change while there is applied there, and carried back.
    NotifyIconData tip = request(&window, QStringLiteral("Nuovo"));
    tip.uFlags = NotifyIconData::TipFlag;
    QVERIFY(shell.modify(tip));

    // A panel starts again: the icon leaves the classic tray and registers with it.
    TestWatcher again(*m_bus);
    again.start(QStringLiteral("watcher-2"));
    QTRY_COMPARE(shell.holder(), &shell.items());
    QCOMPARE(calls->last().command, ShellCall::Delete);
    QTRY_COMPARE(again.items(), QStringList{serviceOf(shell.items())});
    QCOMPARE(qdbus_cast<NotifierToolTip>(
                 itemProperties(serviceOf(shell.items())).value(QStringLiteral("ToolTip")))
                 .title,
             QStringLiteral("Nuovo"));
    QCOMPARE(classicMade, 1);

    // A watcher that takes over the name from another gets the item registered again.
    TestWatcher successor(*m_bus);
    successor.start(QStringLiteral("watcher-3"));
    again.stop();
    QTRY_COMPARE(successor.items().size(), 1);
    QCOMPARE(shell.holder(), &shell.items());
}

void TestStatusNotifierShell::withoutClassicTrayTheIconWaits()
{
    NotificationAreaShell shell(NotifierBus::at(m_bus->address), [] { return nullptr; });
    MessageWindow window;
    QVERIFY(shell.add(request(&window)));
    QVERIFY(!shell.add(request(&window)));
    QTest::qWait(50); // the bus answers that no watcher is there
    QCOMPARE(shell.holder(), nullptr);
    QVERIFY(shell.modify(request(&window, QStringLiteral("Atteso"))));

    TestWatcher watcher(*m_bus);
    watcher.start(QStringLiteral("watcher-late"));
    QTRY_COMPARE(watcher.items().size(), 1);
    QCOMPARE(qdbus_cast<NotifierToolTip>(
                 itemProperties(watcher.items().constFirst()).value(QStringLiteral("ToolTip")))
                 .title,
             QStringLiteral("Atteso"));
    QVERIFY(shell.remove(request(&window)));
    QVERIFY(shell.items().items().isEmpty());
}

QTEST_MAIN(TestStatusNotifierShell)
#include "tst_statusnotifiershell.moc"
