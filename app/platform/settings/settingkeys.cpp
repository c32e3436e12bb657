// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingkeys.h"

#include "settingsstore.h"

namespace Setting {

QString Text::read(const SettingsStore &store) const
{
    return store.GetSetting(QLatin1String(section), QLatin1String(key), QLatin1String(missing));
}

void Text::write(SettingsStore &store, const QString &text) const
{
    store.SaveSetting(QLatin1String(section), QLatin1String(key), text);
}

QString Flag::textOf(bool on) const
{
    return QLatin1String(on ? onText : offText);
}

bool onTextOnly(const Flag &flag, const QString &text)
{
    return text == QLatin1String(flag.onText);
}

bool onTextOrMissing(const Flag &flag, const QString &text)
{
    return onTextOnly(flag, text) || flag.isMissing(text);
}

bool onTextOrMissingNumber(const Flag &flag, const QString &text)
{
    return onTextOnly(flag, text) || flag.isMissing(text.trimmed());
}

void Number::writeNumber(SettingsStore &store, qint64 value) const
{
    write(store, QString::number(value));
}

std::array<QString, 4> Placement::read(const SettingsStore &store) const
{
    return {left.read(store), top.read(store), width.read(store), height.read(store)};
}

void Placement::write(SettingsStore &store, const QRect &twips) const
{
    left.writeNumber(store, twips.x());
    top.writeNumber(store, twips.y());
    width.writeNumber(store, twips.width());
    height.writeNumber(store, twips.height());
}

} // namespace Setting
