// SPDX-License-Identifier: GPL-3.0-or-later
#include "waylandclipboard.h"

#include "datacontrolsession.h"
#include "logcategories.h"

namespace {

// How long start-up may wait for the compositor's answer.
constexpr std::chrono::milliseconds kConnectTimeout{2000};

} // namespace

std::unique_ptr<WaylandClipboard> WaylandClipboard::connectTo(const ReadLimits &limits,
                                                              const QByteArray &displayName,
                                                              QObject *parent)
{
    std::unique_ptr<WaylandClipboard> clipboard(new WaylandClipboard(limits, parent));
    if (!clipboard->open(displayName))
        return nullptr;
    return clipboard;
}

WaylandClipboard::WaylandClipboard(const ReadLimits &limits, QObject *parent)
    : WorkerClipboard(limits.totalTimeout, parent), m_session(new DataControlSession(limits))
{
    m_thread.setObjectName(QStringLiteral("Wayland clipboard"));
    m_session->moveToThread(&m_thread);
    // Queued to this thread; dropped once this object is gone.
    connect(m_session, &DataControlSession::changed, this, &WaylandClipboard::clipboardChanged);
    connect(m_session, &DataControlSession::readDone, this, &WaylandClipboard::finishRead);
    connect(m_session, &DataControlSession::sourceCancelled, this,
            &WaylandClipboard::onSourceCancelled);
    connect(m_session, &DataControlSession::lost, this, &WaylandClipboard::onLost);
    m_thread.start();
}

WaylandClipboard::~WaylandClipboard()
{
    // The session's sockets and pipes belong to its thread: end them there.
    QMetaObject::invokeMethod(
        m_session, [session = m_session] { delete session; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

bool WaylandClipboard::open(const QByteArray &displayName)
{
    QMetaObject::invokeMethod(
        m_session,
        [this, displayName] { m_protocol = m_session->open(displayName, kConnectTimeout); },
        Qt::BlockingQueuedConnection);
    if (m_protocol.isEmpty()) {
        m_lost = true;
        return false;
    }
    qCDebug(lcClipboard, "Wayland clipboard through %s", m_protocol.constData());
    return true;
}

template <typename Call> void WaylandClipboard::onSession(Call call)
{
    QMetaObject::invokeMethod(
        m_session, [session = m_session, call] { call(*session); }, Qt::QueuedConnection);
}

bool WaylandClipboard::setText(const QByteArray &utf8)
{
    if (m_lost)
        return false;
    m_owned = true;
    // The source serves pastes from the same bytes.
    m_ownText = utf8;
    const quint64 id = ++m_sourceId;
    clipboardChanged();
    onSession([id, utf8 = m_ownText](DataControlSession &session) { session.setText(id, utf8); });
    return true;
}

bool WaylandClipboard::clear()
{
    if (m_lost)
        return false;
    m_owned = false;
    m_ownText.clear();
    // Emptied before the change is announced: a read it starts finds no selection.
    onSession([](DataControlSession &session) { session.clear(); });
    clipboardChanged();
    return true;
}

void WaylandClipboard::startRead(quint64 ticket)
{
    if (m_lost) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                finishRead({ReadOutcome::NoDisplay, {}});
            },
            Qt::QueuedConnection);
        return;
    }
    onSession([ticket](DataControlSession &session) { session.read(ticket); });
}

void WaylandClipboard::cancelRead(quint64 ticket)
{
    onSession([ticket](DataControlSession &session) { session.cancelUpTo(ticket); });
}

void WaylandClipboard::onSourceCancelled(quint64 id)
{
    // An older source of ours may be reported after a newer one took over.
    if (id != m_sourceId || !m_owned)
        return;
    m_owned = false;
    m_ownText.clear();
    clipboardChanged();
}

void WaylandClipboard::onLost()
{
    m_lost = true;
    m_owned = false;
    m_ownText.clear();
    clipboardChanged();
    emit connectionLost();
}
