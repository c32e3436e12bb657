// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QSettings>
#include <QString>
#include <optional>

// The per-user store of text settings, addressed by section and key.
//
// Every value is read and written as text and round-trips exactly. A missing
// key reads as the given default. A path that is not a regular file (a
// folder, a pipe, a device) is neither read nor written: the run keeps its
// settings in memory. The file is replaced whole when written, never left
// half-written.
class SettingsStore
{
public:
    explicit SettingsStore(const QString &filePath);

    // The user's own settings file ($XDG_CONFIG_HOME/QVScrivel.ini).
    static QString userFilePath();

    QString GetSetting(const QString &section, const QString &key,
                       const QString &defaultValue = QStringLiteral("-1")) const;
    void SaveSetting(const QString &section, const QString &key, const QString &value);
    // Writes pending changes to disk; false when the file cannot be written,
    // with the reason in failureReason().
    bool flush();
    // Why the last flush() failed, in words for the user.
    const QString &failureReason() const { return m_failure; }

    QString filePath() const { return m_path; }

private:
    bool writtenDespiteFormatError() const;

    QString m_path;
    std::optional<QSettings> m_settings;
    // The settings of a run whose file cannot be used.
    QMap<QString, QString> m_memory;
    QString m_unusable;
    QString m_failure;
};
