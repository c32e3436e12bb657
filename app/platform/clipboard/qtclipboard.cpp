// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtclipboard.h"

#include "cliptext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QtClipboard::QtClipboard(QObject *parent) : QtClipboardWriter(parent)
{
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this,
            [this](QClipboard::Mode mode) {
                if (mode == QClipboard::Clipboard)
                    m_dirty = true;
            });
}

Clipboard::Reading QtClipboard::poll()
{
    if (m_dirty) {
        m_dirty = false;
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        m_text = data ? ClipText::fromMimeData(*data) : QByteArray();
        ++m_serial;
    }
    return {Status::Ready, m_text, m_serial};
}

Clipboard::Reading QtClipboard::readNow()
{
    return poll();
}
