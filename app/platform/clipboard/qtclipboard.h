// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard.h"
#include "qtclipboardwriter.h"

// The clipboard through QClipboard alone. Used where the clipboard lives in
// this process (the offscreen platform) and no other program can stall it.
class QtClipboard : public Clipboard
{
    Q_OBJECT
public:
    explicit QtClipboard(QObject *parent = nullptr);

    Reading poll() override;
    Reading readNow() override;
    bool setText(const QByteArray &utf8) override { return m_writer.setText(utf8); }
    bool clear() override { return m_writer.clear(); }

private:
    QtClipboardWriter m_writer;
    quint64 m_serial = 1;
    bool m_dirty = true;
    QByteArray m_text;
};
