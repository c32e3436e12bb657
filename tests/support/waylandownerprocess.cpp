// SPDX-License-Identifier: GPL-3.0-or-later
#include "waylandownerprocess.h"

#include "childprocess.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

constexpr int kReadyTimeoutMs = 10000;

} // namespace

WaylandOwnerProcess::~WaylandOwnerProcess()
{
    stop();
}

bool WaylandOwnerProcess::start(const QStringList &arguments)
{
    // The new selection replaces the old owner's, which then ends by itself:
    // the selection is never empty in between.
    std::unique_ptr<QProcess> previous = std::move(m_process);
    m_process = std::make_unique<QProcess>();
    m_process->setProgram(QStringLiteral(SCRIVEL_WAYLAND_OWNER));
    m_process->setArguments(arguments);
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->setChildProcessModifier(ChildProcess::dieWithParent);
    // Events go on meanwhile: the clipboard under test hears of the change.
    QEventLoop loop;
    QObject::connect(m_process.get(), &QProcess::readyReadStandardOutput, &loop, [&] {
        if (m_process->canReadLine())
            loop.quit();
    });
    QObject::connect(m_process.get(), &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(m_process.get(), &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(kReadyTimeoutMs, &loop, &QEventLoop::quit);
    m_process->start();
    loop.exec();
    const bool ready = m_process->readLine().trimmed() == "ready";
    if (!ready) {
        m_error = QStringLiteral("the Wayland owner did not take the selection: ") +
                  m_process->errorString();
        stop();
    }
    std::swap(previous, m_process);
    stop();
    if (ready)
        m_process = std::move(previous);
    return ready;
}

void WaylandOwnerProcess::stop()
{
    if (m_process)
        ChildProcess::end(*m_process);
    m_process.reset();
}

QByteArray pasteWithWlPaste(const QString &type, int timeoutMs)
{
    QProcess paste;
    QStringList arguments{QStringLiteral("--no-newline")};
    if (!type.isEmpty())
        arguments << QStringLiteral("--type") << type;
    paste.setProcessChannelMode(QProcess::SeparateChannels);
    paste.setChildProcessModifier(ChildProcess::dieWithParent);
    // Events go on meanwhile: the program under test serves the paste.
    QEventLoop loop;
    QObject::connect(&paste, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&paste, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    paste.start(QStringLiteral("wl-paste"), arguments);
    loop.exec();
    if (paste.state() != QProcess::NotRunning) {
        paste.kill();
        paste.waitForFinished();
        return {};
    }
    // With nothing selected wl-paste says so and fails.
    return paste.exitCode() == 0 ? paste.readAllStandardOutput() : QByteArray("");
}
