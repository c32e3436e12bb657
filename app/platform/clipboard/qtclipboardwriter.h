// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMimeData>
#include <QPointer>

// Writes to the clipboard through QClipboard: Qt then owns the selection and
// answers other programs' requests itself. What it put there is remembered
// in UTF-8, so that the program's own text is known without converting
// Qt's copy of it back.
class QtClipboardWriter
{
public:
    // Puts a UTF-8 text on the clipboard, or empties it; Qt's clipboard
    // always takes it.
    bool setText(const QByteArray &utf8);
    bool clear();
    // The text this process's clipboard holds, in UTF-8: the one put there
    // through setText(), or whatever else within the process set it since
    // (a text field's copy, say).
    QByteArray ownText() const;

private:
    QPointer<QMimeData> m_data;
    QByteArray m_utf8;
};
