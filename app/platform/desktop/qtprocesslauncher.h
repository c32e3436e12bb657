// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "processlauncher.h"

class QtProcessLauncher : public ProcessLauncher
{
public:
    bool startDetached(const QString &program, const QStringList &arguments) override;
};
