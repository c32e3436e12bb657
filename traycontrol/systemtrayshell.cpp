// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemtrayshell.h"

#include "notifyicondata.h"
#include "windowmessages.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaType>
#include <initializer_list>
#include <utility>

using namespace WindowMessages;

SystemTrayShell::SystemTrayShell(QObject *parent) : QObject(parent) {}

bool SystemTrayShell::docksInXEmbedTray()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    // Qt picks its kind of tray icon once per process, at the first question asked of it:
    // an item on the session bus when a StatusNotifierItem host is registered then, else an
    // XEmbed icon. Only the bus kind registers this D-Bus type, so its presence tells.
    QSystemTrayIcon::isSystemTrayAvailable();
    return !QMetaType::fromName("QXdgDBusImageStruct").isValid();
}

SystemTrayShell::~SystemTrayShell()
{
    for (const Entry &entry : std::as_const(m_entries))
        destroyIcon(entry.icon);
}

bool SystemTrayShell::add(const NotifyIconData &data)
{
    if (!data.hWnd || find(data.hWnd, data.uID) >= 0)
        return false;
    Entry entry{IconWindow::of(data), nullptr};
    auto *icon = new QSystemTrayIcon(this);
    entry.icon = icon;
    apply(entry, data);
    icon->installEventFilter(this);
    connect(icon, &QSystemTrayIcon::activated, this,
            [this, icon](QSystemTrayIcon::ActivationReason reason) { onActivated(icon, reason); });
    m_entries.append(entry);
    icon->show();
    return true;
}

bool SystemTrayShell::modify(const NotifyIconData &data)
{
    const qsizetype at = find(data.hWnd, data.uID);
    if (at < 0)
        return false;
    apply(m_entries[at], data);
    return true;
}

bool SystemTrayShell::remove(const NotifyIconData &data)
{
    const qsizetype at = find(data.hWnd, data.uID);
    if (at < 0)
        return false;
    destroyIcon(m_entries.takeAt(at).icon);
    return true;
}

void SystemTrayShell::destroyIcon(QSystemTrayIcon *icon)
{
    if (!icon)
        return;
    icon->hide();
    // A window's handler may remove the icon while the icon is still delivering the click
    // or tool-tip request that led to it; deleting it then would pull it out from under Qt.
    if (m_dispatching > 0) {
        icon->setParent(nullptr);
        icon->deleteLater();
    } else
        delete icon;
}

void SystemTrayShell::apply(Entry &entry, const NotifyIconData &data)
{
    entry.owner.apply(data);
    if (data.uFlags & NotifyIconData::IconFlag)
        entry.icon->setIcon(data.hIcon);
    if (data.uFlags & NotifyIconData::TipFlag)
        entry.icon->setToolTip(NotifyIconData::tipText(data.szTip));
}

qsizetype SystemTrayShell::find(const QObject *window, quint32 id) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).owner.is(window, id))
            return i;
    }
    return -1;
}

qsizetype SystemTrayShell::findIcon(const QObject *icon) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).icon == icon)
            return i;
    }
    return -1;
}

bool SystemTrayShell::eventFilter(QObject *watched, QEvent *event)
{
    // The tool-tip request is left to run on, so the tip shown is the one the window's
    // handler may just have set.
    if (event->type() == QEvent::ToolTip)
        notify(watched, {WM_MOUSEMOVE});
    return false;
}

void SystemTrayShell::onActivated(QSystemTrayIcon *icon, QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        notify(icon, {WM_LBUTTONDOWN, WM_LBUTTONUP});
        break;
    case QSystemTrayIcon::Context:
        notify(icon, {WM_RBUTTONDOWN, WM_RBUTTONUP});
        break;
    case QSystemTrayIcon::DoubleClick:
        notify(icon, {WM_LBUTTONDBLCLK});
        break;
    case QSystemTrayIcon::MiddleClick:
        notify(icon, {WM_MBUTTONDOWN, WM_MBUTTONUP});
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}

void SystemTrayShell::notify(const QObject *icon, std::initializer_list<quint32> mouseMessages)
{
    // A handler may remove the icon, end its window or end this shell (with the control
    // that owns it) while a message is delivered.
    const QPointer<SystemTrayShell> self(this);
    ++m_dispatching;
    for (const quint32 mouseMessage : mouseMessages) {
        const qsizetype at = findIcon(icon);
        if (at < 0)
            break;
        // A copy: the handler may change the entries.
        const IconWindow owner = m_entries.at(at).owner;
        if (!owner.send(mouseMessage))
            break;
        if (!self)
            return;
    }
    --m_dispatching;
}
