// SPDX-License-Identifier: GPL-3.0-or-later
#include "seamfakes.h"

int FakeModalHost::showModal(QDialog &dialog)
{
    ++shown;
    return onShow ? onShow(dialog) : 0;
}

bool FakeProcessLauncher::startDetached(const QString &program, const QStringList &arguments)
{
    if (failing)
        return false;
    starts.append({program, arguments});
    return true;
}
