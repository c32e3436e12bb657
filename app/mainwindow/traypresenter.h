// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboardmonitor.h"
#include "vandrillointerface.h"

#include <QObject>

class HistoryStore;
class MessageBox;
class NotificationArea;
class TrayControlHost;

// What the tray icon shows: the monitor's state as one of three pictures and
// the status tooltip; whether the icon can show at all, and its docking
// again in a tray host that came later.
class TrayPresenter : public QObject
{
    Q_OBJECT
public:
    // The three pictures of the monitor's state, owned here; the control
    // holds a reference to the one it shows.
    struct Pictures
    {
        Vandril::PictureRef normal;    // Image2
        Vandril::PictureRef suspended; // Image3
        Vandril::PictureRef capture;   // Image4
    };

    TrayPresenter(TrayControlHost &control, const ClipboardMonitor &monitor,
                  const HistoryStore &store, const NotificationArea &area,
                  QObject *parent = nullptr);

    const Pictures &pictures() const { return m_pictures; }

    // Gives the control its normal picture; tells the user once when the
    // control could not be loaded.
    void start(MessageBox &messages);
    // Shows or removes the icon.
    void setIconShown(bool shown);
    // True while an icon is wanted, loaded and a tray host can show it.
    bool iconCanShow() const;
    // A tray host came or went: the icon docks in the new one.
    void hostChanged();
    // The pointer rests on the icon: the tooltip tells the monitor's state.
    void hovered();

private:
    void monitorReported(ClipboardMonitor::Event event);
    // Where the tray host never reports the pointer resting on the icon,
    // the status tooltip follows every change of its text instead.
    void followStatusTip();

    TrayControlHost &m_control;
    const ClipboardMonitor &m_monitor;
    const NotificationArea &m_area;
    Pictures m_pictures;
};
