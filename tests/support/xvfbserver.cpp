// SPDX-License-Identifier: GPL-3.0-or-later
#include "xvfbserver.h"

#include "childprocess.h"

#include <QDeadlineTimer>
#include <QDir>

namespace {

constexpr int kStartTimeoutMs = 10000;

} // namespace

XvfbServer::~XvfbServer()
{
    stop();
}

bool XvfbServer::start(QString *error)
{
    // -displayfd 1: the server picks a free display and, once it accepts
    // connections, writes its number to our end of its stdout.
    m_process.setProgram(QStringLiteral("Xvfb"));
    m_process.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                            QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                            QStringLiteral("-screen"), QStringLiteral("0"),
                            QStringLiteral("1280x1024x24")});
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.setChildProcessModifier(ChildProcess::dieWithParent);
    m_process.start();
    if (!m_process.waitForStarted(kStartTimeoutMs)) {
        *error = QStringLiteral("cannot start Xvfb: ") + m_process.errorString();
        return false;
    }
    QByteArray out;
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!out.contains('\n')) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running ||
            !m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            *error = QStringLiteral("Xvfb did not report its display");
            stop();
            return false;
        }
        out += m_process.readAllStandardOutput();
    }
    m_display = ':' + out.trimmed();
    return true;
}

void XvfbServer::stop()
{
    m_display.clear();
    ChildProcess::end(m_process);
}

void XvfbServer::exportEnvironment() const
{
    qputenv("DISPLAY", m_display);
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("WAYLAND_DISPLAY");
    // Without a session bus address, the first program that asks for one on
    // this display would auto-launch a bus that outlives the test.
    qputenv("DBUS_SESSION_BUS_ADDRESS",
            "unix:path=" + QDir::tempPath().toLocal8Bit() + "/scrivel-no-session-bus");
}
