// SPDX-License-Identifier: GPL-3.0-or-later
#include "textnumber.h"

#include <cmath>
#include <limits>

namespace TextNumber {

double leading(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    const qsizetype digitsStart = i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    qsizetype digits = i - digitsStart;
    if (i < n && text[i] == QLatin1Char('.')) {
        const qsizetype fractionStart = ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
        digits += i - fractionStart;
    }
    if (digits == 0)
        return 0;
    bool ok = false;
    const double value = QStringView(text).mid(start, i - start).toDouble(&ok);
    return ok ? value : 0;
}

qint64 roundHalfEven(double value)
{
    constexpr double kLimit = 9.0e18; // inside qint64's range
    if (std::isnan(value))
        return 0;
    if (value >= kLimit)
        return std::numeric_limits<qint64>::max();
    if (value <= -kLimit)
        return std::numeric_limits<qint64>::min();
    return qint64(std::nearbyint(value)); // the default rounding mode rounds halves to even
}

} // namespace TextNumber
