// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vandrillointerface.h"

#include <QObject>
#include <QPluginLoader>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <memory>

class QWidget;

// The main window's side of the tray-icon control: loads the plugin that provides
// "Vandril.Vandrillo", creates the control and reaches it by name through the meta-object
// system. Without the plugin it keeps the assigned values itself, so the program runs on
// without an icon.
class TrayControlHost : public QObject, private Vandril::HostSite
{
    Q_OBJECT
public:
    // Creates the control whose plugin metadata names "Vandril.Vandrillo", looking through
    // pluginDirs in order, as a child of hostWindow, from its saved properties
    // (TrayVisible false, TrayTip "Vandrillo", no icon).
    TrayControlHost(QWidget *hostWindow, const QStringList &pluginDirs, QObject *parent = nullptr);
    // Ends the control, which removes its icon.
    ~TrayControlHost() override;

    // The control's saved properties, kept as a resource of the program.
    static Vandril::PropertyBag savedProperties();

    // The environment variable SCRIVEL_PLUGIN_DIR if set, then the program's folder, then
    // the installed plugin folder relative to it.
    static QStringList defaultPluginDirs();

    bool isLoaded() const;
    // Why the control could not be loaded.
    QString errorString() const;
    // The control's widget; nullptr when not loaded.
    QWidget *control() const;

    void setTrayIcon(const Vandril::PictureRef &picture);
    Vandril::PictureRef trayIcon() const;
    void setTrayTip(const QString &tip);
    QString trayTip() const;
    void setTrayVisible(bool visible);
    bool trayVisible() const;
    // While one of the mouse events is handled: where the notification area
    // saw the click, or (0, 0) when it did not say.
    QPoint trayClickPos() const;
    void ShowAboutBox();

Q_SIGNALS:
    void MouseMove(int Id);
    void MouseDown(int Button, int Id);
    void MouseUp(int Button, int Id);
    void MouseDblClick(int Button, int Id);

private Q_SLOTS:
    void relayMouseMove(int Id);
    void relayMouseDown(short Button, int Id);
    void relayMouseUp(short Button, int Id);
    void relayMouseDblClick(short Button, int Id);

private:
    bool ambientUserMode() const override;
    Vandril::VandrilloFactory *findFactory(const QStringList &pluginDirs);
    void createControl(Vandril::VandrilloFactory &factory, QWidget *hostWindow,
                       const Vandril::PropertyBag &saved);
    bool connectEvent(const char *name, const char *relaySlot);

    std::unique_ptr<QPluginLoader> m_loader;
    QPointer<QWidget> m_control;
    QString m_error;
    // Held while the control is not loaded.
    Vandril::PictureRef m_icon;
    QString m_tip;
    bool m_visible = false;
};
