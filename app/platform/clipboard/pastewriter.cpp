// SPDX-License-Identifier: GPL-3.0-or-later
#include "pastewriter.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

sigset_t brokenPipe()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
}

} // namespace

PasteWriter::PasteWriter(int fd, const QByteArray &data, std::chrono::milliseconds deadline,
                         QObject *parent)
    : QObject(parent), m_fd(fd), m_data(data), m_notifier(fd, QSocketNotifier::Write)
{
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    connect(&m_notifier, &QSocketNotifier::activated, this, &PasteWriter::writeAvailable);
    // The pasting client gets its whole time: a coarse timer may fire 5% early.
    m_deadline.setTimerType(Qt::PreciseTimer);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { finish(false); });
    m_deadline.start(deadline);
}

PasteWriter::~PasteWriter()
{
    m_notifier.setEnabled(false);
    if (m_fd >= 0)
        ::close(m_fd);
}

void PasteWriter::ignoreBrokenPipesOnThisThread()
{
    // A write to a pipe without reader raises SIGPIPE in the writing thread;
    // blocked there, it stays pending and write() fails with EPIPE instead.
    const sigset_t pipe = brokenPipe();
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
}

void PasteWriter::writeAvailable()
{
    while (m_fd >= 0 && m_written < m_data.size()) {
        const ssize_t put =
            ::write(m_fd, m_data.constData() + m_written, size_t(m_data.size() - m_written));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN)
                return;
            if (errno == EPIPE) {
                // Take the pending signal, so that it never reaches the process.
                const sigset_t pipe = brokenPipe();
                const timespec now{};
                sigtimedwait(&pipe, nullptr, &now);
            }
            finish(false);
            return;
        }
        m_written += put;
    }
    if (m_fd >= 0)
        finish(true);
}

void PasteWriter::finish(bool complete)
{
    m_notifier.setEnabled(false);
    m_deadline.stop();
    ::close(m_fd);
    m_fd = -1;
    emit finished(complete);
}
