// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "statusnotifiertypes.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>
#include <QPoint>
#include <functional>
#include <utility>

class NotifierBus;

/// One tray icon as a StatusNotifierItem: an object on a bus connection of its own, under a
/// bus name of its own, which the bus's watcher hands to the hosts (the panels).
///
/// Hosts read the properties below and call the methods; each method is handed on as the
/// mouse messages of a click. Its menu (StatusNotifierMenu) stands for the right click where a host
/// shows the menu instead of calling ContextMenu.
class StatusNotifierItem : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ Category)
    Q_PROPERTY(QString Id READ Id)
    Q_PROPERTY(QString Title READ Title)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(int WindowId READ WindowId)
    Q_PROPERTY(QString IconThemePath READ noName)
    Q_PROPERTY(QString IconName READ noName)
    Q_PROPERTY(NotifierPixmaps IconPixmap READ IconPixmap)
    Q_PROPERTY(QString OverlayIconName READ noName)
    Q_PROPERTY(NotifierPixmaps OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ noName)
    Q_PROPERTY(NotifierPixmaps AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ noName)
    Q_PROPERTY(NotifierToolTip ToolTip READ ToolTip)
    Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ Menu)

public:
    /// Gets the mouse messages a host's call stands for, and where on the screen the click
    /// was, (0, 0) when the host did not say. Called once the call has been answered.
    using MouseAction = std::function<void(const QList<quint32> &mouseMessages, QPoint pos)>;

    /// Puts the item on a new connection to `bus`; registerWithWatcher() shows it.
    StatusNotifierItem(const NotifierBus &bus, MouseAction onMouse, QObject *parent = nullptr);
    /// Takes the item off the bus: its name goes, and the watcher drops it.
    ~StatusNotifierItem() override;

    /// The bus name the item is known by.
    QString serviceName() const { return m_service; }
    /// Asks the watcher now on the bus to show the item.
    void registerWithWatcher();

    /// Offers `icon` at every size a panel asks for and tells the hosts.
    void setIcon(const QIcon &icon);
    /// The tooltip's title; the hosts are told.
    void setToolTip(const QString &text);

    QString Category() const { return QStringLiteral("ApplicationStatus"); }
    QString Id() const;
    QString Title() const;
    QString Status() const { return QStringLiteral("Active"); }
    int WindowId() const { return 0; }
    NotifierPixmaps IconPixmap() const { return m_pixmaps; }
    NotifierToolTip ToolTip() const { return {QString(), {}, m_toolTip, QString()}; }
    bool ItemIsMenu() const { return false; }
    QDBusObjectPath Menu() const { return QDBusObjectPath(StatusNotifier::MenuPath); }

public Q_SLOTS:
    Q_SCRIPTABLE void Activate(int x, int y);
    Q_SCRIPTABLE void ContextMenu(int x, int y);
    Q_SCRIPTABLE void SecondaryActivate(int x, int y);
    Q_SCRIPTABLE void Scroll(int delta, const QString &orientation);

Q_SIGNALS:
    Q_SCRIPTABLE void NewTitle();
    Q_SCRIPTABLE void NewIcon();
    Q_SCRIPTABLE void NewAttentionIcon();
    Q_SCRIPTABLE void NewOverlayIcon();
    Q_SCRIPTABLE void NewToolTip();
    Q_SCRIPTABLE void NewStatus(const QString &status);

private:
    void handOn(const QList<quint32> &mouseMessages, QPoint pos);

    QString noName() const { return QString(); }
    NotifierPixmaps noPixmaps() const { return {}; }

    MouseAction m_onMouse;
    QDBusConnection m_connection;
    QString m_service;
    NotifierPixmaps m_pixmaps;
    // The pictures offered lately, by icon: a capture switches between two.
    QList<std::pair<qint64, NotifierPixmaps>> m_recent;
    QString m_toolTip;
};
