// SPDX-License-Identifier: GPL-3.0-or-later
#include "x11notificationarea.h"

#include "logcategories.h"

#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QMetaType>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <cstdlib>
#include <memory>

namespace {

xcb_atom_t intern(xcb_connection_t *connection, const QByteArray &name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, 0, uint16_t(name.size()), name.data()),
                              nullptr),
        &std::free);
    return reply ? reply->atom : XCB_NONE;
}

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

// True when a StatusNotifierItem watcher on `bus` reports a registered host,
// which shows tray icons as items on the bus. A watcher that does not answer
// within a short time counts as having none.
bool statusNotifierHostRegistered(const QDBusConnection &bus)
{
    if (!bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    // Asking must not start a watcher that the bus could start on demand.
    get.setAutoStartService(false);
    const QDBusMessage reply = bus.call(get, QDBus::Block, 500);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

// Qt picks its kind of tray icon once per process, at the first question
// asked of it: an item on the bus when a StatusNotifierItem host is
// registered then (this D-Bus type comes with it), else an XEmbed icon.
bool qtTrayIconsAreItems()
{
    return QMetaType::fromName("QXdgDBusImageStruct").isValid();
}

} // namespace

X11NotificationArea::X11NotificationArea(QObject *parent)
    : NotificationArea(parent), m_bus(QDBusConnection::sessionBus())
{
    watchBus();
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection)) {
        qCWarning(lcTray) << "cannot watch the notification area: no X connection";
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    m_selection = intern(m_connection, "_NET_SYSTEM_TRAY_S" + QByteArray::number(screenNumber));
    m_manager = intern(m_connection, "MANAGER");
    // Only this connection's own interest in the root window changes.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, root, XCB_CW_EVENT_MASK, &mask);
    watchOwner();
    m_notifier =
        new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11NotificationArea::readEvents);
}

X11NotificationArea::~X11NotificationArea()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

bool X11NotificationArea::isAvailable() const
{
    if (m_hostRegistered)
        return true;
    // Where the icon docks in the X11 tray, the owner watched here is the
    // answer: Qt follows the same selection on a connection of its own and
    // may, for a moment, still count a host that has just gone. Qt is asked
    // only while no item host is there, so that it settles on XEmbed icons.
    if (m_connection)
        return m_owner != XCB_NONE && !qtTrayIconsAreItems();
    return QSystemTrayIcon::isSystemTrayAvailable() && !qtTrayIconsAreItems();
}

void X11NotificationArea::watchBus()
{
    if (!m_bus.isConnected())
        return;
    auto *names =
        new QDBusServiceWatcher(kWatcher, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(names, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &X11NotificationArea::refreshHost);
    for (const char *signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        m_bus.connect(kWatcher, QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                      QString::fromLatin1(signal), this, SLOT(refreshHost()));
    m_hostRegistered = statusNotifierHostRegistered(m_bus);
}

void X11NotificationArea::refreshHost()
{
    const bool registered = statusNotifierHostRegistered(m_bus);
    if (registered == m_hostRegistered)
        return;
    m_hostRegistered = registered;
    qCDebug(lcTray) << "StatusNotifierItem host" << (registered ? "appeared" : "went away");
    Q_EMIT availabilityChanged();
}

void X11NotificationArea::watchOwner()
{
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(m_connection,
                                      xcb_get_selection_owner(m_connection, m_selection), nullptr),
        &std::free);
    m_owner = reply ? reply->owner : XCB_NONE;
    if (m_owner != XCB_NONE) {
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_owner, XCB_CW_EVENT_MASK, &mask);
    }
    xcb_flush(m_connection);
}

void X11NotificationArea::readEvents()
{
    bool changed = false;
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        const uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CLIENT_MESSAGE) {
            const auto *message = reinterpret_cast<xcb_client_message_event_t *>(event);
            if (message->type == m_manager && message->data.data32[1] == m_selection) {
                watchOwner();
                changed = true;
            }
        } else if (type == XCB_DESTROY_NOTIFY) {
            const auto *destroyed = reinterpret_cast<xcb_destroy_notify_event_t *>(event);
            if (destroyed->window == m_owner) {
                m_owner = XCB_NONE;
                changed = true;
            }
        }
        std::free(event);
    }
    if (xcb_connection_has_error(m_connection)) {
        m_notifier->setEnabled(false);
        return;
    }
    if (changed) {
        qCDebug(lcTray) << "notification area" << (m_owner ? "appeared" : "went away");
        Q_EMIT availabilityChanged();
    }
}
