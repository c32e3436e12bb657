// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Reading settings and input boxes as numbers.
namespace TextNumber {

// The number at the start of a text: leading blanks skipped, an optional
// sign, digits, an optional decimal point and fraction. A text without a
// leading number reads as 0.
double leading(const QString &text);
// Rounds to the nearest whole number, halves to even.
qint64 roundHalfEven(double value);

} // namespace TextNumber
