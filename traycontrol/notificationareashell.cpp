// SPDX-License-Identifier: GPL-3.0-or-later
#include "notificationareashell.h"

#include "statusnotifiershell.h"
#include "statusnotifierwatch.h"

NotificationAreaShell::NotificationAreaShell(const NotifierBus &bus, ClassicFactory classic,
                                             QObject *parent)
    : QObject(parent), m_items(std::make_unique<StatusNotifierShell>(bus)),
      m_watch(std::make_unique<StatusNotifierWatch>(bus)), m_makeClassic(std::move(classic))
{
    connect(m_watch.get(), &StatusNotifierWatch::answered, this, &NotificationAreaShell::settle);
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
    m_icons.append({data, false});
    // Shown by a host at once; anywhere else only once the bus says again that no host is
    // there, so that an icon never shows in an X11 tray and a host together.
    if (m_watch->known() && m_watch->hostRegistered())
        settle();
    else
        m_watch->refresh();
    return true;
}

bool NotificationAreaShell::modify(const NotifyIconData &data)
{
    const qsizetype at = find(data.hWnd, data.uID);
    if (at < 0)
        return false;
    Icon &icon = m_icons[at];
    icon.data.uFlags |= data.uFlags;
    if (data.uFlags & NotifyIconData::MessageFlag)
        icon.data.uCallbackMessage = data.uCallbackMessage;
    if (data.uFlags & NotifyIconData::IconFlag)
        icon.data.hIcon = data.hIcon;
    if (data.uFlags & NotifyIconData::TipFlag)
        icon.data.szTip = data.szTip;
    if (icon.placed)
        m_holder->modify(data);
    return true;
}

bool NotificationAreaShell::remove(const NotifyIconData &data)
{
    const qsizetype at = find(data.hWnd, data.uID);
    if (at < 0)
        return false;
    if (m_icons.at(at).placed)
        m_holder->remove(m_icons.at(at).data);
    m_icons.removeAt(at);
    return true;
}

TrayShell *NotificationAreaShell::wanted()
{
    if (!m_watch->known())
        return m_holder;
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

void NotificationAreaShell::settle()
{
    TrayShell *next = wanted();
    if (next != m_holder) {
        // Out of the old place first: an icon is never shown twice.
        for (Icon &icon : m_icons) {
            if (icon.placed)
                m_holder->remove(icon.data);
            icon.placed = false;
        }
        m_holder = next;
    }
    if (!m_holder)
        return;
    for (Icon &icon : m_icons) {
        if (!icon.placed)
            icon.placed = m_holder->add(icon.data);
    }
}

qsizetype NotificationAreaShell::find(const QObject *window, quint32 id) const
{
    if (!window)
        return -1;
    for (qsizetype i = 0; i < m_icons.size(); ++i) {
        if (m_icons.at(i).data.hWnd == window && m_icons.at(i).data.uID == id)
            return i;
    }
    return -1;
}
