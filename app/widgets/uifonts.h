// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// Fonts by family and point size. A missing family is replaced by a free
// font with the same widths (Liberation Sans or Liberation Mono), else by
// the desktop's own font (or its fixed-pitch font) at the same size.
namespace UiFonts {

QFont tahoma(double points);
QFont arial(double points);
QFont courierNew(double points);

} // namespace UiFonts
