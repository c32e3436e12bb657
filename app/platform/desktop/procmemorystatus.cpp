// SPDX-License-Identifier: GPL-3.0-or-later
#include "procmemorystatus.h"

#include <QFile>
#include <limits>
#include <optional>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();

// The value of a "Key:   1234 kB" line, in bytes.
std::optional<qint64> valueOf(QByteArrayView line, QByteArrayView key)
{
    if (!line.startsWith(key) || line.size() <= key.size() || line[key.size()] != ':')
        return std::nullopt;
    QByteArrayView rest = line.sliced(key.size() + 1).trimmed();
    qint64 factor = 1;
    if (rest.endsWith("kB")) {
        rest = rest.chopped(2).trimmed();
        factor = 1024;
    }
    bool ok = false;
    const qint64 value = rest.toLongLong(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value > kMax / factor ? kMax : value * factor;
}

} // namespace

ProcMemoryStatus::ProcMemoryStatus(QString path, int refreshMs)
    : m_path(std::move(path)), m_refreshMs(refreshMs)
{}

MemoryFigures ProcMemoryStatus::read()
{
    if (m_age.isValid() && !m_age.hasExpired(m_refreshMs))
        return m_last;
    m_age.start();
    QFile file(m_path);
    // A file that cannot be read leaves every figure at 0.
    m_last = file.open(QIODevice::ReadOnly) ? parse(file.readAll()) : MemoryFigures{};
    return m_last;
}

void ProcMemoryStatus::releaseFreedMemory()
{
#ifdef __GLIBC__
    // glibc keeps freed blocks in its arenas; this hands whole free pages back.
    malloc_trim(0);
#endif
}

MemoryFigures ProcMemoryStatus::parse(QByteArrayView meminfo)
{
    std::optional<qint64> total, available, free, commitLimit, committed;
    for (QByteArrayView rest = meminfo; !rest.isEmpty();) {
        const qsizetype end = rest.indexOf('\n');
        const QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (auto v = valueOf(line, "MemTotal"))
            total = v;
        else if (auto v = valueOf(line, "MemAvailable"))
            available = v;
        else if (auto v = valueOf(line, "MemFree"))
            free = v;
        else if (auto v = valueOf(line, "CommitLimit"))
            commitLimit = v;
        else if (auto v = valueOf(line, "Committed_AS"))
            committed = v;
    }
    MemoryFigures figures;
    figures.totalPhysical = total.value_or(0);
    figures.availablePhysical = available ? *available : free.value_or(0);
    const qint64 limit = commitLimit.value_or(0);
    const qint64 used = committed.value_or(0);
    figures.availablePageFile = limit > used ? limit - used : 0;
    return figures;
}
