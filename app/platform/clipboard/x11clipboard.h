// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "qtclipboardwriter.h"
#include "x11selectionreader.h"

#include <QClipboard>
#include <QThread>
#include <memory>

/// The clipboard on X11, read without ever making the UI thread wait for
/// another program.
///
/// Reads run on a worker thread with an X connection of their own, bounded by
/// X11ReadLimits. A read is made only when the clipboard changed since the
/// last successful read (Qt reports every change of owner), or when the last
/// read failed; while it is in flight, poll() reports Pending. When this
/// program owns the clipboard, its own text is the answer.
class X11Clipboard : public QtClipboardWriter
{
    Q_OBJECT
public:
    explicit X11Clipboard(const X11ReadLimits &limits = {}, QObject *parent = nullptr);
    /// Stops the worker; a read in flight is cancelled, never waited out.
    ~X11Clipboard() override;

    Reading poll() override;
    Reading readNow() override;
    void setReadAhead(bool on) override;

    /// Reads of another program's clipboard started so far.
    int readsStarted() const { return m_readsStarted; }

Q_SIGNALS:
    /// A read ended, whatever its result (also one that came too late).
    void readFinished();

private:
    void onClipboardChanged(QClipboard::Mode mode);
    void startRead();
    // Starts reading a changed clipboard now, when read-ahead is on.
    void readAhead();
    void finishRead(quint64 generation, const X11SelectionReader::Result &result);
    bool isFresh() const { return m_readGeneration == m_changeGeneration; }
    Reading currentReading();
    void keepUnpolled();
    Reading ownReading();
    Reading waitingReading() const;

    X11ReadLimits m_limits;
    std::unique_ptr<X11SelectionReader> m_reader;
    QThread m_thread;
    // Lives on m_thread; reads run there as queued calls.
    std::unique_ptr<QObject> m_worker;

    // Grows with every change of the clipboard reported by Qt.
    quint64 m_changeGeneration = 1;
    // The change generation m_reading belongs to.
    quint64 m_readGeneration = 0;
    // The change generation whose last read failed (0: none).
    quint64 m_failedGeneration = 0;
    bool m_inFlight = false;
    bool m_readAhead = false;
    // Texts read ahead and replaced before a poll() took them.
    QStringList m_unpolled;
    qsizetype m_unpolledSize = 0;
    quint64 m_polledSerial = 0;
    quint64 m_ticket = 0;
    int m_readsStarted = 0;
    Reading m_reading{Status::Ready, {}, 1};
};
