// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "iconwindow.h"
#include "trayshell.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <initializer_list>

/// The notification area met by QSystemTrayIcon: one tray icon per (window, id).
///
/// Qt reports tray clicks at the press, so each click is turned into the press and release
/// messages at once: left click 0x0201 then 0x0202, right click 0x0204 then 0x0205, double
/// click 0x0203, middle click 0x0207 then 0x0208. The pointer resting on the icon (a tool-tip
/// request) gives 0x0200. Messages are sent synchronously to the icon's window. The tooltip
/// shows the tip field's text without its padding blanks.
class SystemTrayShell : public QObject, public TrayShell
{
    Q_OBJECT
public:
    explicit SystemTrayShell(QObject *parent = nullptr);
    ~SystemTrayShell() override;

    /// True when QSystemTrayIcon docks its icons in an X11 (XEmbed) tray. Asked while no
    /// StatusNotifierItem host is about, it makes Qt settle on that kind for the process.
    static bool docksInXEmbedTray();

    bool add(const NotifyIconData &data) override;
    bool modify(const NotifyIconData &data) override;
    bool remove(const NotifyIconData &data) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry
    {
        IconWindow owner;
        QPointer<QSystemTrayIcon> icon;
    };

    qsizetype find(const QObject *window, quint32 id) const;
    qsizetype findIcon(const QObject *icon) const;
    static void apply(Entry &entry, const NotifyIconData &data);
    void onActivated(QSystemTrayIcon *icon, QSystemTrayIcon::ActivationReason reason);
    void notify(const QObject *icon, std::initializer_list<quint32> mouseMessages);
    void destroyIcon(QSystemTrayIcon *icon);

    QList<Entry> m_entries;
    int m_dispatching = 0;
};
