// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingsstore.h"

#include <QStringList>

SettingsStore::SettingsStore(const QString &filePath) : m_settings(filePath, QSettings::IniFormat)
{}

QString SettingsStore::userFilePath()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("QVScrivel"))
        .fileName();
}

QString SettingsStore::GetSetting(const QString &section, const QString &key,
                                  const QString &defaultValue) const
{
    const QVariant value = m_settings.value(section + QLatin1Char('/') + key);
    if (!value.isValid())
        return defaultValue;
    // A hand-edited unquoted "a,b" comes back as a list; keep it as the text it was.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    m_settings.setValue(section + QLatin1Char('/') + key, value);
}

bool SettingsStore::flush()
{
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}
