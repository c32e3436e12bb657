// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mappedbuffer.h"
#include "readresult.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <chrono>
#include <utility>
#include <xcb/xcb.h>

using X11ReadLimits = ReadLimits;

/// Reads the text of the CLIPBOARD selection from its owner, on an X
/// connection and a hidden window of its own.
///
/// read() blocks until the owner has answered or missed a deadline, so it is
/// meant to run on a worker thread. One thread at a time may call read();
/// cancelUpTo() may be called from any thread.
class X11SelectionReader
{
public:
    using Outcome = ReadOutcome;
    using Result = ReadResult;

    /// displayName empty: the DISPLAY of the environment.
    explicit X11SelectionReader(const X11ReadLimits &limits = {},
                                const QByteArray &displayName = {});
    ~X11SelectionReader();
    X11SelectionReader(const X11SelectionReader &) = delete;
    X11SelectionReader &operator=(const X11SelectionReader &) = delete;

    /// Reads the clipboard's text. ticket identifies this read for
    /// cancelUpTo(); tickets should grow from one read to the next.
    Result read(quint64 ticket);
    /// Makes every read with a ticket up to this one return Cancelled soon.
    void cancelUpTo(quint64 ticket);

private:
    enum class Step { Done, Refused, TooLarge, TimedOut, Cancelled, Broken };
    using Clock = std::chrono::steady_clock;
    struct Atoms
    {
        xcb_atom_t clipboard = XCB_NONE;
        xcb_atom_t targets = XCB_NONE;
        xcb_atom_t utf8String = XCB_NONE;
        xcb_atom_t textPlainUtf8 = XCB_NONE;
        xcb_atom_t incr = XCB_NONE;
        xcb_atom_t passwordHint = XCB_NONE;
        xcb_atom_t property = XCB_NONE;
        xcb_atom_t timestamp = XCB_NONE;
        // The types the offer rules look at, with their names.
        QList<std::pair<xcb_atom_t, QByteArray>> named;
        QList<xcb_atom_t> textTypes; // in order of preference
    };
    struct Offer
    {
        bool hasPasswordHint = false;
        QList<xcb_atom_t> textTypes; // in order of preference
    };
    struct Property
    {
        xcb_atom_t type = XCB_NONE;
        quint8 format = 0;
    };

    bool ensureConnected();
    void disconnectFromServer();
    xcb_atom_t intern(const char *name);
    bool createWindow();
    void destroyWindow();
    Result readFromOwner();
    Result finish(Step step);

    Step serverTime(xcb_timestamp_t *time);
    Step convert(xcb_atom_t target, xcb_timestamp_t time);
    Step readProperty(MappedBuffer *out, qsizetype limit, Property *property);
    Step offer(xcb_timestamp_t time, Offer *offer);
    Step isSecret(xcb_timestamp_t time, bool *secret);
    // Asks for a small value of `target` (the type list, the password hint).
    Step smallAnswer(xcb_atom_t target, xcb_timestamp_t time, MappedBuffer *value,
                     Property *property, bool *answered);
    Step fetchText(xcb_atom_t target, xcb_timestamp_t time, QByteArray *text);
    Step receiveIncrementally(MappedBuffer *bytes, Property *property);

    template <typename Match> Step waitForEvent(Match match, Clock::time_point stepDeadline);
    Clock::time_point nextStepDeadline() const;
    bool cancelled() const;

    X11ReadLimits m_limits;
    QByteArray m_displayName;
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_window = XCB_NONE;
    Atoms m_atoms;
    int m_wakeFd = -1;
    std::atomic<quint64> m_cancelledUpTo{0};
    quint64 m_ticket = 0;
    Clock::time_point m_readDeadline;
};
