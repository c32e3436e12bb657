// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <QString>

// The per-user store of text settings, addressed by section and key.
//
// Every value is read and written as text and round-trips exactly. A missing
// key reads as the given default.
class SettingsStore
{
public:
    explicit SettingsStore(const QString &filePath);

    // The user's own settings file ($XDG_CONFIG_HOME/QVScrivel.ini).
    static QString userFilePath();

    QString GetSetting(const QString &section, const QString &key,
                       const QString &defaultValue = QStringLiteral("-1")) const;
    void SaveSetting(const QString &section, const QString &key, const QString &value);
    // Writes pending changes to disk; false when the file cannot be written.
    bool flush();

    QString filePath() const { return m_settings.fileName(); }

private:
    QSettings m_settings;
};
