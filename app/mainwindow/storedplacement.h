// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <optional>

namespace StoredPlacement {

// The outer rectangle, in twips, of a window stored with these texts, or
// nothing when the window takes the default placement instead: a text that
// sorts below "0", or a rectangle off every work area. The size never exceeds
// the whole desktop, whatever the file says.
std::optional<QRect> rectangle(const QString &sin, const QString &alto, const QString &larghezza,
                               const QString &altezza, const QList<QRect> &workAreas);

} // namespace StoredPlacement
