// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>

/// Serves one paste: writes the data to the pipe another program reads, as
/// fast as that program takes it and without ever blocking the thread it
/// lives on, then closes the pipe. A reader that has not taken everything by
/// the deadline gets no more.
class PasteWriter : public QObject
{
    Q_OBJECT
public:
    /// Takes over fd and makes it non-blocking.
    PasteWriter(int fd, const QByteArray &data, std::chrono::milliseconds deadline,
                QObject *parent = nullptr);
    ~PasteWriter() override;

    /// Writes to a pipe whose reader has gone fail instead of ending the
    /// process; once for each thread that serves pastes.
    static void ignoreBrokenPipesOnThisThread();

Q_SIGNALS:
    /// Emitted once; `complete` is false when the reader went away or was too slow.
    void finished(bool complete);

private:
    void writeAvailable();
    void finish(bool complete);

    int m_fd;
    QByteArray m_data;
    qsizetype m_written = 0;
    QSocketNotifier m_notifier;
    QTimer m_deadline;
};
