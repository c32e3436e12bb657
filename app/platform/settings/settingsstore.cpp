// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingsstore.h"

#include "logcategories.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace {

// Why a path that exists cannot hold the settings; empty when it can.
QString unusableBecause(const QFileInfo &info)
{
    if (!info.exists() || info.isFile())
        return {};
    if (info.isDir())
        return QStringLiteral("al suo posto c'è una cartella");
    return QStringLiteral("non è un file ordinario");
}

QString writeFailure(const QFileInfo &info)
{
    if (const QString unusable = unusableBecause(info); !unusable.isEmpty())
        return unusable;
    if (info.exists() && !info.isWritable())
        return QStringLiteral("il file è in sola lettura");
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("la cartella %1 non esiste").arg(folder.filePath());
    if (!folder.isWritable())
        return QStringLiteral("la cartella %1 non è scrivibile").arg(folder.filePath());
    return QStringLiteral("errore di scrittura");
}

} // namespace

SettingsStore::SettingsStore(const QString &filePath) : m_path(filePath)
{
    // Reading a pipe would wait for a writer; a device may never end.
    m_unusable = unusableBecause(QFileInfo(filePath));
    if (m_unusable.isEmpty())
        m_settings.emplace(filePath, QSettings::IniFormat);
    else
        qCWarning(lcSettings) << "settings file not read:" << filePath << m_unusable;
}

QString SettingsStore::userFilePath()
{
    // Where QSettings keeps a user's INI file of this name, worked out without
    // opening it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/QVScrivel.ini");
}

QString SettingsStore::GetSetting(const QString &section, const QString &key,
                                  const QString &defaultValue) const
{
    const QString name = section + QLatin1Char('/') + key;
    if (!m_settings)
        return m_memory.value(name, defaultValue);
    const QVariant value = m_settings->value(name);
    if (!value.isValid())
        return defaultValue;
    // A hand-edited unquoted "a,b" comes back as a list; keep it as the text it was.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    const QString name = section + QLatin1Char('/') + key;
    if (m_settings)
        m_settings->setValue(name, value);
    else
        m_memory.insert(name, value);
}

bool SettingsStore::flush()
{
    if (m_settings) {
        m_settings->sync();
        if (m_settings->status() == QSettings::NoError || writtenDespiteFormatError()) {
            m_failure.clear();
            return true;
        }
    }
    m_failure = m_settings ? writeFailure(QFileInfo(m_path)) : m_unusable;
    qCWarning(lcSettings) << "settings not written to" << m_path << m_failure;
    return false;
}

bool SettingsStore::writtenDespiteFormatError() const
{
    // The status keeps the first error met: a malformed line read earlier
    // hides how the write went. The file was replaced when it now reads
    // without error, since a failed write leaves the malformed one.
    if (m_settings->status() != QSettings::FormatError)
        return false;
    QSettings written(m_path, QSettings::IniFormat);
    written.allKeys(); // every section parsed
    return written.status() == QSettings::NoError;
}
