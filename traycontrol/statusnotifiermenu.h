// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "statusnotifiertypes.h"

#include <QDBusVariant>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QStringList>

/// The menu a StatusNotifierItem offers its hosts over D-Bus (com.canonical.dbusmenu): a
/// single disabled entry with the application's name.
///
/// Some hosts (Xfce's panel) never pass a right click on to an item: they show the item's
/// menu, or without one a menu of their own. Such a host opening this menu stands for the
/// right click, reported by opened().
class StatusNotifierMenu : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ Version)
    Q_PROPERTY(QString TextDirection READ TextDirection)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(QStringList IconThemePath READ IconThemePath)

public:
    using QObject::QObject;

    uint Version() const { return 3; }
    QString TextDirection() const { return QStringLiteral("ltr"); }
    QString Status() const { return QStringLiteral("normal"); }
    QStringList IconThemePath() const { return {}; }

public Q_SLOTS:
    Q_SCRIPTABLE uint GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames,
                                NotifierMenuLayout &layout);
    Q_SCRIPTABLE NotifierMenuPropertiesList GetGroupProperties(const QList<int> &ids,
                                                               const QStringList &propertyNames);
    Q_SCRIPTABLE QDBusVariant GetProperty(int id, const QString &name);
    Q_SCRIPTABLE void Event(int id, const QString &eventId, const QDBusVariant &data,
                            uint timestamp);
    Q_SCRIPTABLE QList<int> EventGroup(const NotifierMenuEvents &events);
    Q_SCRIPTABLE bool AboutToShow(int id);
    Q_SCRIPTABLE QList<int> AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors);

Q_SIGNALS:
    Q_SCRIPTABLE void LayoutUpdated(uint revision, int parent);
    Q_SCRIPTABLE void ItemActivationRequested(int id, uint timestamp);

    /// A host is showing the menu.
    void opened();

private:
    static QVariantMap propertiesOf(int id);
    // Hosts announce one opening several ways (AboutToShow, then the "opened" event).
    void opening();

    QElapsedTimer m_lastOpening;
};
