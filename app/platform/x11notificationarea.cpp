// SPDX-License-Identifier: GPL-3.0-or-later
#include "x11notificationarea.h"

#include "logcategories.h"
#include "trayhost.h"

#include <QDBusServiceWatcher>
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

// Qt picks its kind of tray icon once per process, at the first question
// asked of it: an item on the bus when a StatusNotifierItem host is
// registered then (this D-Bus type comes with it), else an XEmbed icon.
bool qtTrayIconsDockInXEmbed()
{
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    return available && !QMetaType::fromName("QXdgDBusImageStruct").isValid();
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
    // Qt is asked only while no item host is there, so that it settles on
    // XEmbed icons, which the control shows when the host goes.
    return m_hostRegistered || qtTrayIconsDockInXEmbed();
}

void X11NotificationArea::watchBus()
{
    if (!m_bus.isConnected())
        return;
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    auto *names =
        new QDBusServiceWatcher(watcher, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(names, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &X11NotificationArea::refreshHost);
    for (const char *signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        m_bus.connect(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher,
                      QString::fromLatin1(signal), this, SLOT(refreshHost()));
    m_hostRegistered = TrayHost::statusNotifierHostRegistered(m_bus);
}

void X11NotificationArea::refreshHost()
{
    const bool registered = TrayHost::statusNotifierHostRegistered(m_bus);
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
