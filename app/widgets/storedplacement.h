// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <optional>

class SettingsStore;
namespace Setting {
struct Placement;
}

namespace StoredPlacement {

// The outer rectangle, in twips, of the window stored under @p keys, or
// nothing when the window takes its default placement instead: a text that
// says none is stored, a rectangle without area where the window needs one, or
// a rectangle off every work area, which could not even be found. The size
// never exceeds the whole desktop, whatever the file says.
std::optional<QRect> rectangle(const SettingsStore &store, const Setting::Placement &keys,
                               const QList<QRect> &workAreas);

} // namespace StoredPlacement
