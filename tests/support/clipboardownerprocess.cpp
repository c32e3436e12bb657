// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboardownerprocess.h"

#include "childprocess.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

constexpr int kOwnershipTimeoutMs = 10000;
constexpr int kReleaseTimeoutMs = 2000;

// The window owning CLIPBOARD right now, asked on a connection of our own.
xcb_window_t clipboardOwner()
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    xcb_window_t owner = XCB_NONE;
    if (!xcb_connection_has_error(c)) {
        const char name[] = "CLIPBOARD";
        xcb_intern_atom_reply_t *atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
        if (atom) {
            xcb_get_selection_owner_reply_t *reply =
                xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
            if (reply)
                owner = reply->owner;
            std::free(reply);
        }
        std::free(atom);
    }
    xcb_disconnect(c);
    return owner;
}

} // namespace

ClipboardOwnerProcess::ClipboardOwnerProcess() = default;

ClipboardOwnerProcess::~ClipboardOwnerProcess()
{
    stop();
}

bool ClipboardOwnerProcess::startXclip(const QByteArray &data, const QString &target)
{
    stop();
    m_file = std::make_unique<QTemporaryFile>();
    if (!m_file->open() || m_file->write(data) != data.size() || !m_file->flush()) {
        m_error = QStringLiteral("cannot write the text for xclip");
        return false;
    }
    QStringList arguments{QStringLiteral("-quiet"), QStringLiteral("-selection"),
                          QStringLiteral("clipboard"), QStringLiteral("-i")};
    if (!target.isEmpty())
        arguments << QStringLiteral("-target") << target;
    arguments << m_file->fileName();
    // -quiet keeps xclip in the foreground (so its id stays ours) but chats on stderr.
    return startAndWaitForOwnership(QStringLiteral("xclip"), arguments, false);
}

bool ClipboardOwnerProcess::startScript(const QStringList &arguments)
{
    stop();
    // Debian's interpreter: it has python3-xlib, a python3 earlier on PATH may not.
    return startAndWaitForOwnership(
        QStringLiteral("/usr/bin/python3"),
        QStringList{QStringLiteral(SCRIVEL_CLIPBOARD_OWNER_SCRIPT)} + arguments, true);
}

bool ClipboardOwnerProcess::startAndWaitForOwnership(const QString &program,
                                                     const QStringList &arguments, bool showErrors)
{
    m_process = std::make_unique<QProcess>();
    m_process->setProgram(program);
    m_process->setArguments(arguments);
    m_process->setProcessChannelMode(showErrors ? QProcess::ForwardedErrorChannel
                                                : QProcess::SeparateChannels);
    m_process->setStandardOutputFile(QProcess::nullDevice());
    if (!showErrors)
        m_process->setStandardErrorFile(QProcess::nullDevice());
    m_process->setChildProcessModifier(ChildProcess::dieWithParent);

    // The owner is in place once Qt reports a change of owner (XFixes) that
    // leads to a new owner; a report still queued from an earlier change
    // (the previous owner leaving) must not count.
    const xcb_window_t previousOwner = clipboardOwner();
    QEventLoop loop;
    bool owned = false;
    const auto changed = QObject::connect(
        QGuiApplication::clipboard(), &QClipboard::changed, &loop, [&](QClipboard::Mode mode) {
            const xcb_window_t owner = clipboardOwner();
            if (mode == QClipboard::Clipboard && owner != XCB_NONE && owner != previousOwner) {
                owned = true;
                loop.quit();
            }
        });
    QObject::connect(m_process.get(), &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(m_process.get(), &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(kOwnershipTimeoutMs, &loop, &QEventLoop::quit);
    m_process->start();
    loop.exec();
    QObject::disconnect(changed);
    if (!owned) {
        m_error =
            program + QStringLiteral(" did not take the clipboard: ") + m_process->errorString();
        stop();
        return false;
    }
    return true;
}

void ClipboardOwnerProcess::stop()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        // While it runs, the owner holds the clipboard (it exits when it
        // loses it). Wait until the application has seen it go, so that the
        // report does not arrive in the middle of whatever comes next.
        const xcb_window_t previousOwner = clipboardOwner();
        QEventLoop loop;
        bool released = false;
        if (QGuiApplication::instance()) {
            QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &loop,
                             [&](QClipboard::Mode mode) {
                                 if (mode == QClipboard::Clipboard &&
                                     clipboardOwner() != previousOwner) {
                                     released = true;
                                     loop.quit();
                                 }
                             });
        }
        ChildProcess::end(*m_process);
        if (QGuiApplication::instance() && previousOwner != XCB_NONE && !released) {
            QTimer::singleShot(kReleaseTimeoutMs, &loop, &QEventLoop::quit);
            loop.exec();
        }
    }
    m_process.reset();
    m_file.reset();
}

bool ClipboardOwnerProcess::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running;
}

qint64 ClipboardOwnerProcess::pid() const
{
    return m_process ? m_process->processId() : 0;
}
