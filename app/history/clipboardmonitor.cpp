// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboardmonitor.h"

#include "clipboard.h"
#include "historystore.h"
#include "traycontrolhost.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QTimer>

ClipboardMonitor::ClipboardMonitor(HistoryStore &store, Clipboard &clipboard,
                                   TrayControlHost &cVandril1, QListWidget &List1, QTimer &Timer1,
                                   QTimer &Timer2, const TrayPictures &pictures, QObject *parent)
    : QObject(parent), m_store(store), m_clipboard(clipboard), m_tray(cVandril1), m_list(List1),
      m_timer1(Timer1), m_timer2(Timer2), m_pictures(pictures)
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
        m_list.setEnabled(true);
        m_tray.setTrayIcon(m_pictures.normal);
        m_tray.setTrayTip(countText());
        setSuspended(false);
    }

    for (const QString &text : reading.earlier)
        capture(text);

    // The same text against the same entries gives the same answer as last time.
    if (reading.serial == m_seenSerial && m_store.revision() == m_seenRevision)
        return;
    m_seenSerial = reading.serial;
    capture(reading.text);
    m_seenRevision = m_store.revision();
}

void ClipboardMonitor::capture(const QString &text)
{
    if (text.isEmpty() || m_store.containsText(text) || m_store.isFull())
        return;
    m_tray.setTrayIcon(m_pictures.capture);
    m_store.appendEntry(text);
    m_timer2.start();
}

void ClipboardMonitor::failurePath()
{
    m_list.setEnabled(false);
    if (!m_suspended) {
        m_tray.setTrayIcon(m_pictures.suspended);
        setSuspended(true);
    }
    QCoreApplication::processEvents();
}

void ClipboardMonitor::restoreNormalPicture()
{
    m_tray.setTrayIcon(m_pictures.normal);
    m_timer2.stop();
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
    m_tray.setTrayIcon(m_pictures.suspended);
    setSuspended(true);
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
