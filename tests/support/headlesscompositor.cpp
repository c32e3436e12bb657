// SPDX-License-Identifier: GPL-3.0-or-later
#include "headlesscompositor.h"

#include "childprocess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <wayland-client.h>

namespace {

constexpr int kStartTimeoutMs = 15000;

QString installedCompositor()
{
    return QStandardPaths::findExecutable(QStringLiteral("kwin_wayland"));
}

bool answers(const QByteArray &socketPath)
{
    wl_display *display = wl_display_connect(socketPath.constData());
    if (!display)
        return false;
    const bool ok = wl_display_roundtrip(display) >= 0;
    wl_display_disconnect(display);
    return ok;
}

} // namespace

HeadlessCompositor::~HeadlessCompositor()
{
    stop();
}

bool HeadlessCompositor::isInstalled()
{
    return !installedCompositor().isEmpty();
}

bool HeadlessCompositor::start(QString *error)
{
    const QString binary = m_dir.filePath(QStringLiteral("kwin_wayland"));
    const QString runtime = m_dir.filePath(QStringLiteral("runtime"));
    // A plain copy carries no file capabilities.
    if (!m_dir.isValid() ||
        !(QFile::exists(binary) || QFile::copy(installedCompositor(), binary)) ||
        !QDir().mkpath(runtime) ||
        !QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        *error = QStringLiteral("cannot prepare the compositor in ") + m_dir.path();
        return false;
    }
    m_socket = "scrivel-test-" + QByteArray::number(QCoreApplication::applicationPid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
               QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("no-bus")));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("DISPLAY"));
    m_process.setProcessEnvironment(env);
    m_process.setProgram(binary);
    m_process.setArguments({QStringLiteral("--virtual"), QStringLiteral("--socket"),
                            QString::fromLatin1(m_socket), QStringLiteral("--no-lockscreen"),
                            QStringLiteral("--no-global-shortcuts")});
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(m_dir.filePath(QStringLiteral("compositor.log")));
    m_process.setChildProcessModifier(ChildProcess::dieWithParent);
    m_process.start();
    const QByteArray socketPath = QFile::encodeName(runtime) + '/' + m_socket;
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!QFile::exists(QString::fromLocal8Bit(socketPath)) || !answers(socketPath)) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning) {
            *error = QStringLiteral("the compositor did not start: ") + m_process.errorString();
            stop();
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}

void HeadlessCompositor::stop()
{
    ChildProcess::end(m_process);
}

void HeadlessCompositor::exportEnvironment() const
{
    qputenv("WAYLAND_DISPLAY", m_socket);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.filePath(QStringLiteral("runtime"))));
}
