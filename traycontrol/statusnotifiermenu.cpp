// SPDX-License-Identifier: GPL-3.0-or-later
#include "statusnotifiermenu.h"

#include <QGuiApplication>

namespace {

constexpr int RootId = 0;
constexpr int NameId = 1;
// Announcements closer together than this are one opening.
constexpr int kOneOpeningMs = 1000;

} // namespace

QVariantMap StatusNotifierMenu::propertiesOf(int id)
{
    if (id == RootId)
        return {{QStringLiteral("children-display"), QStringLiteral("submenu")}};
    if (id == NameId)
        return {{QStringLiteral("label"), QGuiApplication::applicationDisplayName()},
                {QStringLiteral("enabled"), false}};
    return {};
}

uint StatusNotifierMenu::GetLayout(int parentId, int recursionDepth,
                                   const QStringList &propertyNames, NotifierMenuLayout &layout)
{
    Q_UNUSED(propertyNames);
    layout = {parentId, propertiesOf(parentId), {}};
    if (parentId == RootId && recursionDepth != 0)
        layout.children.append({NameId, propertiesOf(NameId), {}});
    return 1;
}

NotifierMenuPropertiesList StatusNotifierMenu::GetGroupProperties(const QList<int> &ids,
                                                                  const QStringList &propertyNames)
{
    Q_UNUSED(propertyNames);
    NotifierMenuPropertiesList result;
    for (const int id : ids) {
        if (id == RootId || id == NameId)
            result.append({id, propertiesOf(id)});
    }
    return result;
}

QDBusVariant StatusNotifierMenu::GetProperty(int id, const QString &name)
{
    return QDBusVariant(propertiesOf(id).value(name));
}

void StatusNotifierMenu::Event(int id, const QString &eventId, const QDBusVariant &data,
                               uint timestamp)
{
    Q_UNUSED(data);
    Q_UNUSED(timestamp);
    if (id != RootId)
        return;
    if (eventId == QLatin1String("opened"))
        opening();
    else if (eventId == QLatin1String("closed"))
        m_lastOpening.invalidate();
}

QList<int> StatusNotifierMenu::EventGroup(const NotifierMenuEvents &events)
{
    for (const NotifierMenuEvent &event : events)
        Event(event.id, event.eventId, event.data, event.timestamp);
    return {};
}

bool StatusNotifierMenu::AboutToShow(int id)
{
    if (id == RootId)
        opening();
    return false;
}

QList<int> StatusNotifierMenu::AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors)
{
    idErrors.clear();
    for (const int id : ids)
        AboutToShow(id);
    return {};
}

void StatusNotifierMenu::opening()
{
    if (m_lastOpening.isValid() && m_lastOpening.elapsed() < kOneOpeningMs)
        return;
    m_lastOpening.start();
    Q_EMIT opened();
}
