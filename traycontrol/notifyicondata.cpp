// SPDX-License-Identifier: GPL-3.0-or-later
#include "notifyicondata.h"

QString NotifyIconData::tipField(const QString &text)
{
    return text.left(TipLength).leftJustified(TipLength, QLatin1Char(' '));
}

QString NotifyIconData::tipText(const QString &field)
{
    qsizetype end = field.size();
    while (end > 0 && field.at(end - 1) == QLatin1Char(' '))
        --end;
    return field.left(end);
}
