// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "memorystatus.h"

#include <QByteArrayView>
#include <QElapsedTimer>
#include <QString>

/// Memory figures from the kernel's /proc/meminfo.
///
/// Callers may ask many times a second; the file is read again only when the
/// last reading is older than the refresh period, and the last figures are
/// answered in between.
class ProcMemoryStatus : public MemoryStatus
{
public:
    explicit ProcMemoryStatus(QString path = QStringLiteral("/proc/meminfo"), int refreshMs = 50);

    MemoryFigures read() override;
    void releaseFreedMemory() override;

    /// The figures in a meminfo text: total = MemTotal, available physical =
    /// MemAvailable (MemFree on kernels without it), available page file =
    /// CommitLimit - Committed_AS, 0 when negative. Missing lines count as 0.
    static MemoryFigures parse(QByteArrayView meminfo);

private:
    QString m_path;
    int m_refreshMs;
    QElapsedTimer m_age;
    MemoryFigures m_last;
};
