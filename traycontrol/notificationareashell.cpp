// SPDX-License-Identifier: GPL-3.0-or-later
#include "notificationareashell.h"

#include "statusnotifiershell.h"
#include "statusnotifierwatch.h"

NotificationAreaShell::NotificationAreaShell(const NotifierBus &bus, ClassicFactory classic,
                                             QObject *parent)
    : QObject(parent), m_items(std::make_unique<StatusNotifierShell>(bus)),
      m_watch(std::make_unique<StatusNotifierWatch>(bus)), m_makeClassic(std::move(classic))
{
    connect(m_watch.get(), &StatusNotifierWatch::hostChanged, this,
            &NotificationAreaShell::reroute);
    connect(m_watch.get(), &StatusNotifierWatch::watcherReplaced, this, [this] {
        if (m_holder == m_items.get())
            m_items->registerAll();
    });
}

NotificationAreaShell::~NotificationAreaShell() = default;

bool NotificationAreaShell::add(const NotifyIconData &data)
{
    if (!data.hWnd || find(data.hWnd, data.uID) >= 0)
        return false;
    reroute();
    m_icons.append(data);
    if (m_holder)
        m_holder->add(data);
    return true;
}

bool NotificationAreaShell::modify(const NotifyIconData &data)
{
    const qsizetype at = find(data.hWnd, data.uID);
    if (at < 0)
        return false;
    NotifyIconData &icon = m_icons[at];
    icon.uFlags |= data.uFlags;
    if (data.uFlags & NotifyIconData::MessageFlag)
        icon.uCallbackMessage = data.uCallbackMessage;
    if (data.uFlags & NotifyIconData::IconFlag)
        icon.hIcon = data.hIcon;
    if (data.uFlags & NotifyIconData::TipFlag)
        icon.szTip = data.szTip;
    if (m_holder)
        m_holder->modify(data);
    return true;
}

bool NotificationAreaShell::remove(const NotifyIconData &data)
{
    const qsizetype at = find(data.hWnd, data.uID);
    if (at < 0)
        return false;
    if (m_holder)
        m_holder->remove(m_icons.at(at));
    m_icons.removeAt(at);
    return true;
}

TrayShell *NotificationAreaShell::wanted()
{
    // Until the watcher answers, the icons wait rather than show in the wrong place.
    if (!m_watch->known())
        return nullptr;
    if (m_watch->hostRegistered())
        return m_items.get();
    // Made only while no item host is about (see SystemTrayShell::docksInXEmbedTray).
    if (!m_classicMade) {
        m_classicMade = true;
        if (m_makeClassic)
            m_classic = m_makeClassic();
    }
    return m_classic.get();
}

void NotificationAreaShell::reroute()
{
    TrayShell *next = wanted();
    if (next == m_holder)
        return;
    // Out of the old place first: an icon is never shown twice.
    for (const NotifyIconData &icon : std::as_const(m_icons)) {
        if (m_holder)
            m_holder->remove(icon);
    }
    m_holder = next;
    for (const NotifyIconData &icon : std::as_const(m_icons)) {
        if (m_holder)
            m_holder->add(icon);
    }
}

qsizetype NotificationAreaShell::find(const QObject *window, quint32 id) const
{
    if (!window)
        return -1;
    for (qsizetype i = 0; i < m_icons.size(); ++i) {
        if (m_icons.at(i).hWnd == window && m_icons.at(i).uID == id)
            return i;
    }
    return -1;
}
