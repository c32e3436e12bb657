// SPDX-License-Identifier: GPL-3.0-or-later
#include "unixsignalwatcher.h"

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Reached from the signal handler: only lock-free atomics and plain values.
std::atomic<int> g_writeEnd{-1};
std::atomic<int> g_received{0};
static_assert(std::atomic<int>::is_always_lock_free);

} // namespace

UnixSignalWatcher::UnixSignalWatcher(const QList<int> &signalNumbers, QObject *parent)
    : QObject(parent)
{
    Q_ASSERT(g_writeEnd.load() == -1);
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("UnixSignalWatcher: no pipe: %s", strerror(errno));
        return;
    }
    g_received = 0;
    g_writeEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UnixSignalWatcher::readPending);

    struct sigaction action = {};
    action.sa_handler = &UnixSignalWatcher::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : signalNumbers) {
        struct sigaction previous = {};
        if (::sigaction(number, &action, &previous) == 0)
            m_previous.append({number, previous});
    }
}

UnixSignalWatcher::~UnixSignalWatcher()
{
    for (const auto &[number, previous] : std::as_const(m_previous))
        ::sigaction(number, &previous, nullptr);
    if (m_pipe[0] < 0)
        return;
    g_writeEnd = -1;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void UnixSignalWatcher::handle(int signalNumber)
{
    if (g_received.fetch_add(1) > 0) {
        ::signal(signalNumber, SIG_DFL);
        ::raise(signalNumber);
        return;
    }
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    const int fd = g_writeEnd.load();
    if (fd >= 0 && ::write(fd, &byte, 1) != 1) {
        // The pipe cannot be full after a single byte; nothing else to do here.
    }
    errno = savedErrno;
}

void UnixSignalWatcher::readPending()
{
    unsigned char byte = 0;
    while (::read(m_pipe[0], &byte, 1) == 1)
        Q_EMIT received(byte);
}
