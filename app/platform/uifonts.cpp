// SPDX-License-Identifier: GPL-3.0-or-later
#include "uifonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace UiFonts {
namespace {

QFont preferred(const QString &family, double points, QFontDatabase::SystemFont fallback)
{
    QFont font = QFontDatabase::families().contains(family, Qt::CaseInsensitive)
                     ? QFont(family)
                     : QFontDatabase::systemFont(fallback);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

QFont tahoma(double points)
{
    return preferred(QStringLiteral("Tahoma"), points, QFontDatabase::GeneralFont);
}

QFont arial(double points)
{
    return preferred(QStringLiteral("Arial"), points, QFontDatabase::GeneralFont);
}

QFont courierNew(double points)
{
    return preferred(QStringLiteral("Courier New"), points, QFontDatabase::FixedFont);
}

} // namespace UiFonts
