// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QIcon>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

/// One picture of a StatusNotifierItem (D-Bus "(iiay)"): its width, its height and its pixels,
/// ARGB32 in network byte order, row by row.
struct NotifierPixmap
{
    int width = 0;
    int height = 0;
    QByteArray data;
};
using NotifierPixmaps = QList<NotifierPixmap>;

/// The tooltip of a StatusNotifierItem (D-Bus "(sa(iiay)ss)").
struct NotifierToolTip
{
    QString iconName;
    NotifierPixmaps pixmaps;
    QString title;
    QString description;
};

/// One entry of a menu offered over D-Bus with its entries below it (D-Bus "(ia{sv}av)").
struct NotifierMenuLayout
{
    int id = 0;
    QVariantMap properties;
    QList<NotifierMenuLayout> children;
};

/// The properties of one menu entry (D-Bus "(ia{sv})").
struct NotifierMenuProperties
{
    int id = 0;
    QVariantMap properties;
};
using NotifierMenuPropertiesList = QList<NotifierMenuProperties>;

/// Something that happened to a menu entry (D-Bus "(isvu)").
struct NotifierMenuEvent
{
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};
using NotifierMenuEvents = QList<NotifierMenuEvent>;

QDBusArgument &operator<<(QDBusArgument &argument, const NotifierPixmap &pixmap);
const QDBusArgument &operator>>(const QDBusArgument &argument, NotifierPixmap &pixmap);
QDBusArgument &operator<<(QDBusArgument &argument, const NotifierToolTip &toolTip);
const QDBusArgument &operator>>(const QDBusArgument &argument, NotifierToolTip &toolTip);

QDBusArgument &operator<<(QDBusArgument &argument, const NotifierMenuLayout &layout);
const QDBusArgument &operator>>(const QDBusArgument &argument, NotifierMenuLayout &layout);
QDBusArgument &operator<<(QDBusArgument &argument, const NotifierMenuProperties &properties);
const QDBusArgument &operator>>(const QDBusArgument &argument, NotifierMenuProperties &properties);
QDBusArgument &operator<<(QDBusArgument &argument, const NotifierMenuEvent &event);
const QDBusArgument &operator>>(const QDBusArgument &argument, NotifierMenuEvent &event);

Q_DECLARE_METATYPE(NotifierPixmap)
Q_DECLARE_METATYPE(NotifierToolTip)
Q_DECLARE_METATYPE(NotifierMenuLayout)
Q_DECLARE_METATYPE(NotifierMenuProperties)
Q_DECLARE_METATYPE(NotifierMenuEvent)

namespace StatusNotifier {

inline const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
inline const QString WatcherPath = QStringLiteral("/StatusNotifierWatcher");
inline const QString WatcherInterface = QStringLiteral("org.kde.StatusNotifierWatcher");
inline const QString ItemPath = QStringLiteral("/StatusNotifierItem");
inline const QString MenuPath = QStringLiteral("/StatusNotifierMenu");

/// The picture sizes a panel asks for, from 16 pixels up to 48.
inline constexpr int IconSizes[] = {16, 22, 24, 32, 48};

/// Makes the item's D-Bus types known to QtDBus; safe to call more than once.
void registerTypes();
/// `icon` at each of IconSizes, as drawn for that size (a smaller picture where the icon has
/// none so large).
NotifierPixmaps pixmapsOf(const QIcon &icon);

} // namespace StatusNotifier
