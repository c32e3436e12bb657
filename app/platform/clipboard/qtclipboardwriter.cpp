// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtclipboardwriter.h"

#include "cliptext.h"
#include "utf8text.h"

#include <QClipboard>
#include <QGuiApplication>

bool QtClipboardWriter::setText(const QByteArray &utf8)
{
    auto *data = new QMimeData;
    data->setText(Utf8Text::toString(utf8));
    m_data = data;
    m_utf8 = utf8;
    // The clipboard owns the data from here on, and deletes it once replaced.
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool QtClipboardWriter::clear()
{
    m_utf8.clear();
    QGuiApplication::clipboard()->clear();
    return true;
}

QByteArray QtClipboardWriter::ownText() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return {};
    return data == m_data.data() ? m_utf8 : ClipText::fromMimeData(*data);
}
