// SPDX-License-Identifier: GPL-3.0-or-later
#include "x11clipboard.h"

#include "logcategories.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <limits>
#include <utility>

namespace {

// Why a read brought no text, for the log; null when there is nothing to tell.
const char *failureReason(X11SelectionReader::Outcome outcome)
{
    using Outcome = X11SelectionReader::Outcome;
    switch (outcome) {
    case Outcome::Refused:
        return "the owner refused every text type";
    case Outcome::TooLarge:
        return "the text is larger than the limit";
    case Outcome::TimedOut:
        return "the owner did not answer in time";
    case Outcome::NoDisplay:
        return "the X server cannot be reached";
    case Outcome::Text:
    case Outcome::NoOwner:
    case Outcome::NoText:
    case Outcome::Secret:
    case Outcome::Cancelled:
        break;
    }
    return nullptr;
}

} // namespace

X11Clipboard::X11Clipboard(const X11ReadLimits &limits, QObject *parent)
    : QtClipboardWriter(parent), m_limits(limits),
      m_reader(std::make_unique<X11SelectionReader>(limits)), m_worker(std::make_unique<QObject>())
{
    m_thread.setObjectName(QStringLiteral("clipboard reader"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this,
            &X11Clipboard::onClipboardChanged);
}

X11Clipboard::~X11Clipboard()
{
    m_reader->cancelUpTo(std::numeric_limits<quint64>::max());
    m_thread.quit();
    m_thread.wait();
}

void X11Clipboard::onClipboardChanged(QClipboard::Mode mode)
{
    if (mode != QClipboard::Clipboard)
        return;
    ++m_changeGeneration;
    // What the read in flight would bring belongs to the old clipboard.
    if (m_inFlight)
        m_reader->cancelUpTo(m_ticket);
    else
        readAhead();
}

void X11Clipboard::setReadAhead(bool on)
{
    m_readAhead = on;
    // The first poll after polling starts finds the clipboard's text ready.
    readAhead();
}

void X11Clipboard::readAhead()
{
    if (m_readAhead && !m_inFlight && !isFresh() && !QGuiApplication::clipboard()->ownsClipboard())
        startRead();
}

Clipboard::Reading X11Clipboard::poll()
{
    Reading reading = currentReading();
    if (reading.status == Status::Ready) {
        reading.earlier = std::exchange(m_unpolled, {});
        m_unpolledSize = 0;
        m_polledSerial = reading.serial;
    }
    return reading;
}

Clipboard::Reading X11Clipboard::currentReading()
{
    if (QGuiApplication::clipboard()->ownsClipboard())
        return ownReading();
    if (isFresh())
        return m_reading;
    if (!m_inFlight)
        startRead();
    return waitingReading();
}

Clipboard::Reading X11Clipboard::readNow()
{
    if (QGuiApplication::clipboard()->ownsClipboard())
        return ownReading();
    if (isFresh())
        return m_reading;

    // Every read ends by itself within its limits; the timer is a backstop.
    const QDeadlineTimer budget(m_limits.totalTimeout + std::chrono::seconds(1));
    QEventLoop loop;
    connect(this, &X11Clipboard::readFinished, &loop, &QEventLoop::quit);
    QTimer backstop;
    backstop.setSingleShot(true);
    connect(&backstop, &QTimer::timeout, &loop, &QEventLoop::quit);
    for (;;) {
        if (!m_inFlight)
            startRead();
        backstop.start(int(std::max<qint64>(0, budget.remainingTime())));
        loop.exec();
        if (QGuiApplication::clipboard()->ownsClipboard())
            return ownReading();
        if (isFresh())
            return m_reading;
        if (m_failedGeneration == m_changeGeneration || budget.hasExpired())
            return {Status::Failed, {}, m_reading.serial};
        // The clipboard changed during the read: read the new one.
    }
}

void X11Clipboard::startRead()
{
    ++m_readsStarted;
    m_inFlight = true;
    const quint64 generation = m_changeGeneration;
    const quint64 ticket = ++m_ticket;
    QMetaObject::invokeMethod(
        m_worker.get(),
        [this, generation, ticket] {
            const X11SelectionReader::Result result = m_reader->read(ticket);
            // Queued to the UI thread; dropped if this object is gone by then.
            QMetaObject::invokeMethod(
                this, [this, generation, result] { finishRead(generation, result); },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void X11Clipboard::finishRead(quint64 generation, const X11SelectionReader::Result &result)
{
    m_inFlight = false;
    if (const char *reason = failureReason(result.outcome))
        qCDebug(lcClipboard, "clipboard read without text: %s", reason);
    if (result.failed()) {
        if (generation == m_changeGeneration &&
            result.outcome != X11SelectionReader::Outcome::Cancelled)
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

void X11Clipboard::keepUnpolled()
{
    // Bounded: a burst of copies between two polls keeps its newest texts.
    constexpr qsizetype kMaxChars = 32 * 1024 * 1024;
    if (!m_readAhead || m_reading.serial <= m_polledSerial || m_reading.text.isEmpty() ||
        m_reading.text.size() > kMaxChars)
        return;
    m_unpolled << m_reading.text;
    m_unpolledSize += m_reading.text.size();
    while (m_unpolledSize > kMaxChars) {
        m_unpolledSize -= m_unpolled.first().size();
        m_unpolled.removeFirst();
    }
}

Clipboard::Reading X11Clipboard::ownReading()
{
    if (!isFresh()) {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        m_reading = {Status::Ready, data ? ClipText::fromMimeData(*data) : QString(),
                     m_reading.serial + 1};
        m_readGeneration = m_changeGeneration;
    }
    return m_reading;
}

Clipboard::Reading X11Clipboard::waitingReading() const
{
    // A retry of a clipboard that could not be read still reports the failure.
    const Status status =
        m_failedGeneration == m_changeGeneration ? Status::Failed : Status::Pending;
    return {status, {}, m_reading.serial};
}
