// SPDX-License-Identifier: GPL-3.0-or-later
#include "uifonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace UiFonts {
namespace {

QFont preferred(const QStringList &families, double points, QFontDatabase::SystemFont fallback)
{
    const QStringList installed = QFontDatabase::families();
    QFont font = QFontDatabase::systemFont(fallback);
    for (const QString &family : families) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            font = QFont(family);
            break;
        }
    }
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

// Each family is followed by a free one with the same advance widths, so that
// captions sized for the first fit just as well in the second. Tahoma has no
// metric twin; at dialog sizes it sets text to within a few percent of Arial,
// so Liberation Sans stands in for it too (DejaVu Sans, even condensed, runs
// wider and cuts the longer captions).

QFont tahoma(double points)
{
    return preferred({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")}, points,
                     QFontDatabase::GeneralFont);
}

QFont arial(double points)
{
    return preferred({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}, points,
                     QFontDatabase::GeneralFont);
}

QFont courierNew(double points)
{
    return preferred({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")}, points,
                     QFontDatabase::FixedFont);
}

} // namespace UiFonts
