// SPDX-License-Identifier: GPL-3.0-or-later
#include "pipereader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Bytes taken from the pipe per read() call.
constexpr qsizetype kChunk = 64 * 1024;
// A larger pipe means fewer wake-ups for a large text; the system may refuse.
constexpr int kPipeSize = 1024 * 1024;

} // namespace

PipeReader::PipeReader(int fd, const ReadLimits &limits, qsizetype maxBytes, QObject *parent)
    : QObject(parent), m_fd(fd), m_maxBytes(maxBytes), m_limits(limits),
      m_total(limits.totalTimeout), m_notifier(fd, QSocketNotifier::Read)
{
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_fd, F_SETPIPE_SZ, kPipeSize);
    connect(&m_notifier, &QSocketNotifier::activated, this, &PipeReader::readAvailable);
    // A deadline is a promise to the source: it never ends a read early.
    m_stepTimer.setTimerType(Qt::PreciseTimer);
    m_stepTimer.setSingleShot(true);
    connect(&m_stepTimer, &QTimer::timeout, this, [this] { finish(Outcome::TimedOut); });
    restartStepTimer();
}

PipeReader::~PipeReader()
{
    m_notifier.setEnabled(false);
    if (m_fd >= 0)
        ::close(m_fd);
}

void PipeReader::readAvailable()
{
    if (m_fd < 0)
        return;
    bool progressed = false;
    std::array<char, kChunk> chunk;
    for (;;) {
        const ssize_t got = ::read(m_fd, chunk.data(), chunk.size());
        if (got == 0) {
            finish(Outcome::Done);
            return;
        }
        if (got < 0) {
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN)
                finish(Outcome::TimedOut); // a pipe that cannot be read: no answer
            else if (progressed)
                restartStepTimer();
            return;
        }
        if (m_bytes.size() + got > m_maxBytes || !m_bytes.append(chunk.data(), got)) {
            finish(Outcome::TooLarge);
            return;
        }
        progressed = true;
    }
}

void PipeReader::restartStepTimer()
{
    m_stepTimer.start(
        std::clamp<qint64>(m_total.remainingTime(), 0, qint64(m_limits.stepTimeout.count())));
}

void PipeReader::finish(Outcome outcome)
{
    m_notifier.setEnabled(false);
    m_stepTimer.stop();
    ::close(m_fd);
    m_fd = -1;
    if (outcome == Outcome::TooLarge)
        m_bytes.clear();
    emit finished(outcome);
}
