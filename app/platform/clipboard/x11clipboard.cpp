// SPDX-License-Identifier: GPL-3.0-or-later
#include "x11clipboard.h"

#include <QGuiApplication>
#include <limits>

X11Clipboard::X11Clipboard(const X11ReadLimits &limits, QObject *parent)
    : WorkerClipboard(limits.totalTimeout, parent),
      m_reader(std::make_unique<X11SelectionReader>(limits)), m_worker(std::make_unique<QObject>())
{
    m_thread.setObjectName(QStringLiteral("clipboard reader"));
    m_worker->moveToThread(&m_thread);
    m_thread.start();
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this,
            &X11Clipboard::onClipboardChanged);
}

X11Clipboard::~X11Clipboard()
{
    m_reader->cancelUpTo(std::numeric_limits<quint64>::max());
    m_thread.quit();
    m_thread.wait();
}

void X11Clipboard::onClipboardChanged(QClipboard::Mode mode)
{
    if (mode == QClipboard::Clipboard)
        clipboardChanged();
}

bool X11Clipboard::ownsClipboard() const
{
    return QGuiApplication::clipboard()->ownsClipboard();
}

QByteArray X11Clipboard::ownText() const
{
    return m_writer.ownText();
}

void X11Clipboard::startRead(quint64 ticket)
{
    QMetaObject::invokeMethod(
        m_worker.get(),
        [this, ticket] {
            const X11SelectionReader::Result result = m_reader->read(ticket);
            // Queued to the UI thread; dropped if this object is gone by then.
            QMetaObject::invokeMethod(
                this, [this, result] { finishRead(result); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void X11Clipboard::cancelRead(quint64 ticket)
{
    m_reader->cancelUpTo(ticket);
}
