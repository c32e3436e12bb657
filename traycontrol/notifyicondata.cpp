// SPDX-License-Identifier: GPL-3.0-or-later
#include "notifyicondata.h"

QString NotifyIconData::tipField(const QString &text)
{
    return text.left(TipLength).leftJustified(TipLength, QLatin1Char(' '));
}
