// SPDX-License-Identifier: GPL-3.0-or-later
#include "storedplacement.h"

#include "settingkeys.h"
#include "textnumber.h"

#include <algorithm>

namespace {

// Whether a text read from one of the keys says that no rectangle is stored.
bool unset(const Setting::Placement &keys, const Setting::Text &key, const QString &text)
{
    if (keys.unset == Setting::Placement::Unset::Missing)
        return key.isMissing(text);
    return QString::compare(text, QStringLiteral("0"), Qt::CaseSensitive) < 0;
}

int twipsValue(const Setting::Number &key, const QString &text)
{
    return int(key.clamped(TextNumber::roundHalfEven(TextNumber::leading(text))));
}

} // namespace

namespace StoredPlacement {

std::optional<QRect> rectangle(const SettingsStore &store, const Setting::Placement &keys,
                               const QList<QRect> &workAreas)
{
    const auto [sin, alto, larghezza, altezza] = keys.read(store);
    if (unset(keys, keys.left, sin) || unset(keys, keys.top, alto) ||
        unset(keys, keys.width, larghezza) || unset(keys, keys.height, altezza))
        return std::nullopt;
    QRect stored(twipsValue(keys.left, sin), twipsValue(keys.top, alto),
                 twipsValue(keys.width, larghezza), twipsValue(keys.height, altezza));
    if (keys.needsArea && stored.isEmpty())
        return std::nullopt;
    // A window stored on a screen that is gone would be out of sight.
    if (std::none_of(workAreas.begin(), workAreas.end(),
                     [&](const QRect &area) { return area.intersects(stored); }))
        return std::nullopt;
    QRect desktop;
    for (const QRect &area : workAreas)
        desktop |= area;
    stored.setSize(stored.size().boundedTo(desktop.size()));
    return stored;
}

} // namespace StoredPlacement
