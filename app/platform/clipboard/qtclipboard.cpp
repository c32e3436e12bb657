// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

QtClipboard::QtClipboard(QObject *parent) : Clipboard(parent)
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
        m_text = m_writer.ownText();
        ++m_serial;
    }
    return {Status::Ready, m_text, m_serial};
}

Clipboard::Reading QtClipboard::readNow()
{
    return poll();
}
