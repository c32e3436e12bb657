// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "vandrillointerface.h"

#include <QObject>
#include <QString>

class Clipboard;
class HistoryStore;
class QListWidget;
class QTimer;
class TrayControlHost;

// The three tray pictures the monitor switches between.
struct TrayPictures
{
    Vandril::PictureRef normal;    // Image2
    Vandril::PictureRef suspended; // Image3
    Vandril::PictureRef capture;   // Image4
};

// Fills the history from the clipboard at every tick of the polling timer,
// and shows its state on the tray icon.
class ClipboardMonitor : public QObject
{
    Q_OBJECT
public:
    // Timer1 polls; Timer2 is the one-shot that restores the normal picture.
    ClipboardMonitor(HistoryStore &store, Clipboard &clipboard, TrayControlHost &cVandril1,
                     QListWidget &List1, QTimer &Timer1, QTimer &Timer2,
                     const TrayPictures &pictures, QObject *parent = nullptr);

    // A tick of Timer1.
    void tick();
    // A tick of Timer2.
    void restoreNormalPicture();

    // Sets the polling interval in milliseconds; 0 stops polling.
    void setInterval(int ms);
    int interval() const;

    bool isSuspended() const { return m_suspended; }
    // Enters the suspended state as a stored interval of 0 does at start-up.
    void suspendByUser();

    // The tooltip text for the current state and entry count.
    QString statusText() const;
    QString countText() const;

Q_SIGNALS:
    // The suspended state or the polling interval changed.
    void stateChanged();

private:
    void failurePath();
    void setSuspended(bool suspended);
    // Appends a text that is new, with the capture picture.
    void capture(const QString &text);

    HistoryStore &m_store;
    Clipboard &m_clipboard;
    TrayControlHost &m_tray;
    QListWidget &m_list;
    QTimer &m_timer1;
    QTimer &m_timer2;
    TrayPictures m_pictures;
    bool m_suspended = false;
    bool m_inTick = false;
    // The reading and store revision the last completed tick looked at.
    quint64 m_seenSerial = 0;
    quint64 m_seenRevision = 0;
};
