// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard.h"
#include "readresult.h"

#include <chrono>

/// A clipboard whose reads of other programs' texts run off the UI thread:
/// what the X11 and the Wayland readers share.
///
/// A read is made only when the clipboard changed since the last successful
/// read, or when the last read failed; while it is in flight, poll() reports
/// Pending. With read-ahead on, each change is read at once, and a text that
/// was read in full but replaced before a poll() took it is handed to that
/// poll() as `earlier`. When this program owns the clipboard, its own text is
/// the answer, never read back.
class WorkerClipboard : public Clipboard
{
    Q_OBJECT
public:
    Reading poll() override;
    Reading readNow() override;
    void setReadAhead(bool on) override;

    /// Reads of another program's clipboard started so far.
    int readsStarted() const { return m_readsStarted; }

Q_SIGNALS:
    /// The clipboard changed: another program's copy, this program's own, or none.
    void changed();
    /// A read ended, whatever its result (also one that came too late).
    void readFinished();

protected:
    /// readNow() waits at most this long for a read.
    explicit WorkerClipboard(std::chrono::milliseconds readBudget, QObject *parent = nullptr);

    virtual bool ownsClipboard() const = 0;
    virtual QByteArray ownText() const = 0;
    /// Starts reading the clipboard off the UI thread; the result comes back
    /// through finishRead(), on the UI thread. One read runs at a time.
    virtual void startRead(quint64 ticket) = 0;
    /// The clipboard changed during the read with this ticket: end it soon.
    virtual void cancelRead(quint64 ticket) = 0;

    /// To be called on every change of the clipboard.
    void clipboardChanged();
    /// The read in flight ended.
    void finishRead(const ReadResult &result);

private:
    void beginRead();
    // Starts reading a changed clipboard now, when read-ahead is on.
    void readAhead();
    bool isFresh() const { return m_readGeneration == m_changeGeneration; }
    Reading currentReading();
    void keepUnpolled();
    Reading ownReading();
    Reading waitingReading() const;

    std::chrono::milliseconds m_readBudget;
    // Grows with every change of the clipboard.
    quint64 m_changeGeneration = 1;
    // The change generation m_reading belongs to.
    quint64 m_readGeneration = 0;
    // The change generation whose last read failed (0: none).
    quint64 m_failedGeneration = 0;
    // The change generation the read in flight belongs to.
    quint64 m_inFlightGeneration = 0;
    bool m_inFlight = false;
    bool m_readAhead = false;
    // Texts read ahead and replaced before a poll() took them.
    QList<QByteArray> m_unpolled;
    qsizetype m_unpolledSize = 0;
    quint64 m_polledSerial = 0;
    quint64 m_ticket = 0;
    int m_readsStarted = 0;
    Reading m_reading{Status::Ready, {}, 1};
};
