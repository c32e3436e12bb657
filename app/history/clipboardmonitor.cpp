// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboardmonitor.h"

#include "clipboard.h"
#include "historystore.h"

#include <QCoreApplication>
#include <QScopedValueRollback>
#include <QTimer>

ClipboardMonitor::ClipboardMonitor(HistoryStore &store, Clipboard &clipboard, QTimer &Timer1,
                                   QTimer &Timer2, QObject *parent)
    : QObject(parent), m_store(store), m_clipboard(clipboard), m_timer1(Timer1), m_timer2(Timer2)
{
    m_timer2.setSingleShot(true);
    m_timer2.setInterval(800);
}

void ClipboardMonitor::tick()
{
    // The failure path lets waiting events run; a tick arriving meanwhile waits its turn.
    if (m_inTick)
        return;
    QScopedValueRollback guard(m_inTick, true);

    const Clipboard::Reading reading = m_clipboard.poll();
    if (reading.status == Clipboard::Status::Pending)
        return;
    if (reading.status == Clipboard::Status::Failed) {
        failurePath();
        return;
    }

    if (m_suspended && interval() != 0) {
        setSuspended(false);
        Q_EMIT reported(Event::Recovered);
    }

    for (const QByteArray &text : reading.earlier)
        capture(text);

    // The same text against the same entries gives the same answer as last time.
    if (reading.serial == m_seenSerial && m_store.revision() == m_seenRevision)
        return;
    m_seenSerial = reading.serial;
    capture(reading.text);
    m_seenRevision = m_store.revision();
}

void ClipboardMonitor::capture(const QByteArray &text)
{
    if (text.isEmpty() || m_store.containsText(text) || m_store.isFull())
        return;
    Q_EMIT reported(Event::Capturing);
    const int index = m_store.appendEntry(text);
    m_timer2.start();
    Q_EMIT captured(index);
}

void ClipboardMonitor::failurePath()
{
    if (!m_suspended) {
        setSuspended(true);
        Q_EMIT reported(Event::Suspended);
    }
    Q_EMIT reported(Event::Failed);
    QCoreApplication::processEvents();
}

void ClipboardMonitor::captureShown()
{
    m_timer2.stop();
    Q_EMIT reported(Event::Captured);
}

void ClipboardMonitor::setInterval(int ms)
{
    m_timer1.setInterval(ms);
    // While polling, each change is read as it happens, so the next tick has it.
    m_clipboard.setReadAhead(ms != 0);
    if (ms == 0)
        m_timer1.stop();
    else
        m_timer1.start();
    Q_EMIT stateChanged();
}

int ClipboardMonitor::interval() const
{
    return m_timer1.interval();
}

void ClipboardMonitor::suspendByUser()
{
    setInterval(0);
    setSuspended(true);
    Q_EMIT reported(Event::Suspended);
}

void ClipboardMonitor::setSuspended(bool suspended)
{
    m_suspended = suspended;
    Q_EMIT stateChanged();
}

QString ClipboardMonitor::countText() const
{
    const int n = m_store.count();
    if (n == 1)
        return QStringLiteral("Aggiornamento Scrivel: 1 elemento nella lista");
    if (n == 0)
        return QStringLiteral("Aggiornamento Scrivel: nessun elemento nella lista");
    return QStringLiteral("Aggiornamento Scrivel: ") + QString::number(n) +
           QStringLiteral(" elementi nella lista");
}

QString ClipboardMonitor::statusText() const
{
    if (m_suspended) {
        if (interval() == 0)
            return QStringLiteral("Monitoraggio Scrivel sospeso: ") +
                   QStringLiteral("Sospeso dall'utente");
        return QStringLiteral("Scrivel di sistema non disponibili!");
    }
    return countText();
}
