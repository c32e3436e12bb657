// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class Clipboard;
class HistoryStore;
class QTimer;

// Fills the history from the clipboard at every tick of the polling timer,
// and reports what it does, for the windows to show.
class ClipboardMonitor : public QObject
{
    Q_OBJECT
public:
    enum class Event {
        Capturing, // a new text is being appended
        Captured,  // the capture has been shown long enough
        Suspended, // monitoring stopped: by the user, or at a first failure
        Failed,    // the clipboard could not be read; polling goes on
        Recovered, // the clipboard could be read again after a failure or a pause
    };
    Q_ENUM(Event)

    // Timer1 polls; Timer2 is the one-shot that ends a capture's display.
    ClipboardMonitor(HistoryStore &store, Clipboard &clipboard, QTimer &Timer1, QTimer &Timer2,
                     QObject *parent = nullptr);

    // A tick of Timer1.
    void tick();
    // A tick of Timer2.
    void captureShown();

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
    void reported(ClipboardMonitor::Event event);
    // A text was appended to the history at `index`.
    void captured(int index);

private:
    void failurePath();
    void setSuspended(bool suspended);
    // Appends a text that is new, with the capture picture.
    void capture(const QByteArray &text);

    HistoryStore &m_store;
    Clipboard &m_clipboard;
    QTimer &m_timer1;
    QTimer &m_timer2;
    bool m_suspended = false;
    bool m_inTick = false;
    // The reading and store revision the last completed tick looked at.
    quint64 m_seenSerial = 0;
    quint64 m_seenRevision = 0;
};
