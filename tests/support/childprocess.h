// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <csignal>
#include <sys/prctl.h>

// The programs a test or a benchmark starts: they die with it, and end by
// their own process id, never by name.
namespace ChildProcess {

// For QProcess::setChildProcessModifier(): a child that outlives a crashed
// test would keep its display, compositor or selection for good.
inline void dieWithParent()
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

// SIGTERM, then SIGKILL; the process is reaped.
inline void end(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace ChildProcess
