// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// Fonts by family and point size, falling back to the desktop's own font
// (or its fixed-pitch font) at the same size when the family is missing.
namespace UiFonts {

QFont tahoma(double points);
QFont arial(double points);
QFont courierNew(double points);

} // namespace UiFonts
