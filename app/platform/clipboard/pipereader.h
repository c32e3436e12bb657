// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mappedbuffer.h"
#include "readresult.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

/// Reads one transfer from the reading end of a pipe up to its end of file,
/// as the data arrives, without ever blocking the thread it lives on.
///
/// The writer has `stepTimeout` for its first data and for each further
/// piece, and `totalTimeout` for all of it; more than `maxBytes` ends the
/// transfer at once.
class PipeReader : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { Done, TooLarge, TimedOut };

    /// Takes over fd and makes it non-blocking.
    PipeReader(int fd, const ReadLimits &limits, qsizetype maxBytes, QObject *parent = nullptr);
    /// Closes the pipe: a writer still at work gets a broken pipe.
    ~PipeReader() override;

    /// Reads what the pipe holds now; ends the transfer when that is all.
    void readAvailable();
    bool isFinished() const { return m_fd < 0; }
    /// What arrived; valid until the reader is destroyed or cleared.
    const MappedBuffer &bytes() const { return m_bytes; }
    /// Gives the memory of what arrived back to the system at once.
    void clear() { m_bytes.clear(); }

Q_SIGNALS:
    /// Emitted once, from within readAvailable() or an event of the thread.
    void finished(PipeReader::Outcome outcome);

private:
    void finish(Outcome outcome);
    void restartStepTimer();

    int m_fd;
    qsizetype m_maxBytes;
    ReadLimits m_limits;
    QDeadlineTimer m_total;
    QSocketNotifier m_notifier;
    QTimer m_stepTimer;
    MappedBuffer m_bytes;
};
