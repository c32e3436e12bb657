// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Starts programs as separate processes, never waiting for them.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;
    // No shell is involved: each argument reaches the program as given.
    // False when the program cannot be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
};
