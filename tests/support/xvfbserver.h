// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

/// A private X server (Xvfb) for tests and benchmarks that need a real
/// display. It picks a free display number itself (-displayfd) and is ended
/// by its own process id, never by name.
class XvfbServer
{
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;

    /// Starts the server and waits until it accepts connections.
    /// On failure returns false and describes why in *error.
    bool start(QString *error);
    /// Ends the server (SIGTERM, then SIGKILL) and reaps it.
    void stop();

    /// The display name, e.g. ":3"; empty until started.
    QByteArray display() const { return m_display; }

    /// Points this process at the server before any Qt application object
    /// exists: DISPLAY, the xcb platform, and a session bus address that
    /// leads nowhere, so no bus is auto-launched for the display.
    void exportEnvironment() const;

private:
    QProcess m_process;
    QByteArray m_display;
};
