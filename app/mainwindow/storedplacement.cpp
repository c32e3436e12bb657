// SPDX-License-Identifier: GPL-3.0-or-later
#include "storedplacement.h"

#include "textnumber.h"

#include <algorithm>

namespace {

// A stored geometry text takes part in placement only when it sorts at or
// above "0", compared as text.
bool sortsFromZero(const QString &text)
{
    return QString::compare(text, QStringLiteral("0"), Qt::CaseSensitive) >= 0;
}

int twipsValue(const QString &text)
{
    const qint64 value = TextNumber::roundHalfEven(TextNumber::leading(text));
    return int(std::clamp<qint64>(value, -1'000'000'000, 1'000'000'000));
}

} // namespace

namespace StoredPlacement {

std::optional<QRect> rectangle(const QString &sin, const QString &alto, const QString &larghezza,
                               const QString &altezza, const QList<QRect> &workAreas)
{
    if (!sortsFromZero(sin) || !sortsFromZero(alto) || !sortsFromZero(larghezza) ||
        !sortsFromZero(altezza))
        return std::nullopt;
    QRect stored(twipsValue(sin), twipsValue(alto), twipsValue(larghezza), twipsValue(altezza));
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
