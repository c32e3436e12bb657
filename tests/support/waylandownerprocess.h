// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <memory>

/// Another program that owns the Wayland selection: the scriptable owner
/// (waylandclipboardowner.cpp) with chosen types, the password hint, copied
/// files, or a source that never sends. start() returns once the compositor
/// holds its selection. The process is ended by its own id.
class WaylandOwnerProcess
{
public:
    WaylandOwnerProcess() = default;
    ~WaylandOwnerProcess();
    WaylandOwnerProcess(const WaylandOwnerProcess &) = delete;
    WaylandOwnerProcess &operator=(const WaylandOwnerProcess &) = delete;

    bool start(const QStringList &arguments);
    void stop();
    /// What went wrong in the last start, for test messages.
    QString error() const { return m_error; }

private:
    std::unique_ptr<QProcess> m_process;
    QString m_error;
};

/// The bytes `wl-paste` reads from the selection in this type ("" when
/// nothing is selected), or null when it did not end within timeoutMs.
QByteArray pasteWithWlPaste(const QString &type = {}, int timeoutMs = 10000);
