// SPDX-License-Identifier: GPL-3.0-or-later
#include "statusnotifieritem.h"

#include "notifierbus.h"
#include "statusnotifiermenu.h"
#include "windowmessages.h"

#include <QDBusMessage>
#include <QGuiApplication>
#include <algorithm>
#include <atomic>
#include <utility>

using namespace WindowMessages;

namespace {

QString newServiceName()
{
    static std::atomic<int> items{0};
    return QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(++items);
}

} // namespace

StatusNotifierItem::StatusNotifierItem(const NotifierBus &bus, MouseAction onMouse, QObject *parent)
    : QObject(parent), m_onMouse(std::move(onMouse)),
      m_connection(bus.open(QStringLiteral("item"))), m_service(newServiceName())
{
    StatusNotifier::registerTypes();
    auto *menu = new StatusNotifierMenu(this);
    connect(menu, &StatusNotifierMenu::opened, this, [this] {
        handOn({WM_RBUTTONDOWN, WM_RBUTTONUP}, QPoint());
    });
    m_connection.registerObject(StatusNotifier::ItemPath, this,
                                QDBusConnection::ExportScriptableContents);
    m_connection.registerObject(StatusNotifier::MenuPath, menu,
                                QDBusConnection::ExportScriptableContents);
    m_connection.registerService(m_service);
}

StatusNotifierItem::~StatusNotifierItem()
{
    m_connection.unregisterObject(StatusNotifier::MenuPath);
    m_connection.unregisterObject(StatusNotifier::ItemPath);
    m_connection.unregisterService(m_service);
    QDBusConnection::disconnectFromBus(m_connection.name());
}

void StatusNotifierItem::registerWithWatcher()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        StatusNotifier::WatcherService, StatusNotifier::WatcherPath,
        StatusNotifier::WatcherInterface, QStringLiteral("RegisterStatusNotifierItem"));
    call << m_service;
    // Nothing waits for the answer: a watcher that refuses leaves the item unseen, as a
    // notification area that fails an add does.
    m_connection.call(call, QDBus::NoBlock);
}

QString StatusNotifierItem::Id() const
{
    return QCoreApplication::applicationName();
}

QString StatusNotifierItem::Title() const
{
    return QGuiApplication::applicationDisplayName();
}

void StatusNotifierItem::setIcon(const QIcon &icon)
{
    constexpr qsizetype kRecent = 4;
    const qint64 key = icon.cacheKey();
    const auto known = std::find_if(m_recent.cbegin(), m_recent.cend(),
                                    [key](const auto &recent) { return recent.first == key; });
    if (known != m_recent.cend()) {
        m_pixmaps = known->second;
    } else {
        m_pixmaps = StatusNotifier::pixmapsOf(icon);
        if (m_recent.size() == kRecent)
            m_recent.removeFirst();
        m_recent.append({key, m_pixmaps});
    }
    Q_EMIT NewIcon();
}

void StatusNotifierItem::setToolTip(const QString &text)
{
    m_toolTip = text;
    Q_EMIT NewToolTip();
}

void StatusNotifierItem::Activate(int x, int y)
{
    handOn({WM_LBUTTONDOWN, WM_LBUTTONUP}, QPoint(x, y));
}

void StatusNotifierItem::ContextMenu(int x, int y)
{
    handOn({WM_RBUTTONDOWN, WM_RBUTTONUP}, QPoint(x, y));
}

void StatusNotifierItem::SecondaryActivate(int x, int y)
{
    handOn({WM_MBUTTONDOWN, WM_MBUTTONUP}, QPoint(x, y));
}

void StatusNotifierItem::Scroll(int delta, const QString &orientation)
{
    // The control has no message for the wheel.
    Q_UNUSED(delta);
    Q_UNUSED(orientation);
}

void StatusNotifierItem::handOn(const QList<quint32> &mouseMessages, QPoint pos)
{
    // After the answer: the handlers may open menus or message boxes. Dropped when the
    // item goes first.
    QMetaObject::invokeMethod(
        this, [this, mouseMessages, pos] { m_onMouse(mouseMessages, pos); }, Qt::QueuedConnection);
}
