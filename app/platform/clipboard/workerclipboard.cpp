// SPDX-License-Identifier: GPL-3.0-or-later
#include "workerclipboard.h"

#include "logcategories.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <utility>

WorkerClipboard::WorkerClipboard(std::chrono::milliseconds readBudget, QObject *parent)
    : Clipboard(parent), m_readBudget(readBudget)
{}

void WorkerClipboard::clipboardChanged()
{
    ++m_changeGeneration;
    // What the read in flight would bring belongs to the old clipboard.
    if (m_inFlight)
        cancelRead(m_ticket);
    else
        readAhead();
    emit changed();
}

void WorkerClipboard::setReadAhead(bool on)
{
    m_readAhead = on;
    // The first poll after polling starts finds the clipboard's text ready.
    readAhead();
}

void WorkerClipboard::readAhead()
{
    if (m_readAhead && !m_inFlight && !isFresh() && !ownsClipboard())
        beginRead();
}

Clipboard::Reading WorkerClipboard::poll()
{
    Reading reading = currentReading();
    if (reading.status == Status::Ready) {
        reading.earlier = std::exchange(m_unpolled, {});
        m_unpolledSize = 0;
        m_polledSerial = reading.serial;
    }
    return reading;
}

Clipboard::Reading WorkerClipboard::currentReading()
{
    if (ownsClipboard())
        return ownReading();
    if (isFresh())
        return m_reading;
    if (!m_inFlight)
        beginRead();
    return waitingReading();
}

Clipboard::Reading WorkerClipboard::readNow()
{
    if (ownsClipboard())
        return ownReading();
    if (isFresh())
        return m_reading;

    // Every read ends by itself within its limits; the timer is a backstop.
    const QDeadlineTimer budget(m_readBudget + std::chrono::seconds(1));
    QEventLoop loop;
    connect(this, &WorkerClipboard::readFinished, &loop, &QEventLoop::quit);
    QTimer backstop;
    backstop.setSingleShot(true);
    connect(&backstop, &QTimer::timeout, &loop, &QEventLoop::quit);
    for (;;) {
        if (!m_inFlight)
            beginRead();
        backstop.start(int(std::max<qint64>(0, budget.remainingTime())));
        loop.exec();
        if (ownsClipboard())
            return ownReading();
        if (isFresh())
            return m_reading;
        if (m_failedGeneration == m_changeGeneration || budget.hasExpired())
            return {Status::Failed, {}, m_reading.serial};
        // The clipboard changed during the read: read the new one.
    }
}

void WorkerClipboard::beginRead()
{
    ++m_readsStarted;
    m_inFlight = true;
    m_inFlightGeneration = m_changeGeneration;
    startRead(++m_ticket);
}

void WorkerClipboard::finishRead(const ReadResult &result)
{
    const quint64 generation = m_inFlightGeneration;
    m_inFlight = false;
    if (const char *reason = result.failureReason())
        qCDebug(lcClipboard, "clipboard read without text: %s", reason);
    if (result.failed()) {
        if (generation == m_changeGeneration && result.outcome != ReadOutcome::Cancelled)
            m_failedGeneration = generation;
    } else if (generation == m_changeGeneration) {
        keepUnpolled();
        m_reading = {Status::Ready, result.text, m_reading.serial + 1};
        m_readGeneration = generation;
    } else if (m_readAhead && !result.text.isEmpty()) {
        // Read in full, then replaced before this answer arrived: the text was
        // on the clipboard all the same, so the next poll hands it over,
        // while the reading stays stale and the new clipboard gets read.
        keepUnpolled();
        m_reading = {Status::Ready, result.text, m_reading.serial + 1};
    }
    // The clipboard changed while that read ran: read the new one now.
    if (generation != m_changeGeneration)
        readAhead();
    emit readFinished();
}

void WorkerClipboard::keepUnpolled()
{
    // Bounded: a burst of copies between two polls keeps its newest texts.
    constexpr qsizetype kMaxBytes = 64 * 1024 * 1024;
    if (!m_readAhead || m_reading.serial <= m_polledSerial || m_reading.text.isEmpty() ||
        m_reading.text.size() > kMaxBytes)
        return;
    m_unpolled << m_reading.text;
    m_unpolledSize += m_reading.text.size();
    while (m_unpolledSize > kMaxBytes) {
        m_unpolledSize -= m_unpolled.first().size();
        m_unpolled.removeFirst();
    }
}

Clipboard::Reading WorkerClipboard::ownReading()
{
    if (!isFresh()) {
        m_reading = {Status::Ready, ownText(), m_reading.serial + 1};
        m_readGeneration = m_changeGeneration;
    }
    return m_reading;
}

Clipboard::Reading WorkerClipboard::waitingReading() const
{
    // A retry of a clipboard that could not be read still reports the failure.
    const Status status =
        m_failedGeneration == m_changeGeneration ? Status::Failed : Status::Pending;
    return {status, {}, m_reading.serial};
}
