// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

/// A private headless Wayland compositor (kwin_wayland --virtual) for tests
/// and benchmarks that need a real one. It runs from a copy of the binary
/// without the file capabilities that a container refuses to grant, on a
/// socket in a runtime folder of its own, and is ended by its own process
/// id, never by name.
class HeadlessCompositor
{
public:
    HeadlessCompositor() = default;
    ~HeadlessCompositor();
    HeadlessCompositor(const HeadlessCompositor &) = delete;
    HeadlessCompositor &operator=(const HeadlessCompositor &) = delete;

    /// False when no compositor is installed: there is nothing to test with.
    static bool isInstalled();
    /// Starts the compositor and waits until it answers on its socket.
    /// On failure returns false and describes why in *error.
    bool start(QString *error);
    /// Ends the compositor (SIGTERM, then SIGKILL) and reaps it.
    void stop();
    bool isRunning() const { return m_process.state() == QProcess::Running; }

    /// The socket's name, for WAYLAND_DISPLAY.
    QByteArray socketName() const { return m_socket; }
    /// Points this process at the compositor: WAYLAND_DISPLAY and XDG_RUNTIME_DIR.
    void exportEnvironment() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QByteArray m_socket;
};
