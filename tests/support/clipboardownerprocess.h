// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryFile>
#include <memory>

/// Another program that owns the CLIPBOARD selection: xclip serving bytes, or
/// the scriptable owner clipboardowner.py (refusing, hanging, INCR, hints).
/// Needs a QGuiApplication on the xcb platform; start() returns once the
/// application has seen the new owner. The process is ended by its own id.
class ClipboardOwnerProcess
{
public:
    ClipboardOwnerProcess();
    ~ClipboardOwnerProcess();
    ClipboardOwnerProcess(const ClipboardOwnerProcess &) = delete;
    ClipboardOwnerProcess &operator=(const ClipboardOwnerProcess &) = delete;

    /// `xclip -selection clipboard -i` serving data (from a file, so that
    /// large texts start quickly), offered as target when one is given.
    bool startXclip(const QByteArray &data, const QString &target = {});
    /// The scriptable owner with these options (see clipboardowner.py).
    bool startScript(const QStringList &arguments);
    /// Ends the owner; the clipboard then has no owner.
    void stop();

    bool isRunning() const;
    qint64 pid() const;
    /// What went wrong in the last start, for test messages.
    QString error() const { return m_error; }

private:
    bool startAndWaitForOwnership(const QString &program, const QStringList &arguments,
                                  bool showErrors);

    std::unique_ptr<QProcess> m_process;
    std::unique_ptr<QTemporaryFile> m_file;
    QString m_error;
};
