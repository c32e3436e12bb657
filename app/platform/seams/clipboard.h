// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

// The system clipboard as the program sees it: plain text only. Texts read
// come as UTF-8 bytes (see utf8text.h), valid and without NUL characters, so
// that a large text costs its size once, from the reader to the history.
//
// Reading never blocks the UI thread on another program. An implementation
// keeps the result of its last completed read and starts a new read only when
// the clipboard changed since then (or the last read failed).
class Clipboard : public QObject
{
    Q_OBJECT
public:
    enum class Status {
        Ready,   // text holds the clipboard's text ("" when it holds no text)
        Pending, // a read is in flight and within its deadline
        Failed,  // the clipboard cannot be opened: its owner did not answer in time
    };
    struct Reading
    {
        Status status = Status::Pending;
        QByteArray text;
        // Grows with every completed read; equal serials mean the same reading.
        quint64 serial = 0;
        // Texts read since the last poll() that the clipboard replaced before
        // it, oldest first, so that no copy goes unseen between two polls.
        QList<QByteArray> earlier = {};
    };

    using QObject::QObject;

    // The latest reading, without waiting. Starts a read when one is needed.
    virtual Reading poll() = 0;
    // A fresh reading for a user command: waits (while still processing
    // events) until the read in flight completes or misses its deadline.
    virtual Reading readNow() = 0;
    // Puts a UTF-8 text on the clipboard; false when the clipboard cannot be opened.
    virtual bool setText(const QByteArray &utf8) = 0;
    // Empties the clipboard of every format; false when it cannot be opened.
    virtual bool clear() = 0;
    // With read-ahead on, a change of the clipboard is read at once rather
    // than at the next poll(), so that the poll after it finds the text ready.
    virtual void setReadAhead(bool on) { Q_UNUSED(on); }
};
