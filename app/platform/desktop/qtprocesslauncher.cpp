// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtprocesslauncher.h"

#include <QProcess>

bool QtProcessLauncher::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}
