// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard.h"

// A clipboard whose state the test sets, in QStrings; reads give them in
// UTF-8, as every clipboard does. Writes fail while it is unavailable.
class FakeClipboard : public Clipboard
{
    Q_OBJECT
public:
    using Clipboard::Clipboard;

    // What the user is told when the clipboard cannot be opened.
    static inline const QString kUnavailableMessage = QStringLiteral(
        "Gli Scrivel di sistema non sono disponibili. Terminare l'operazione in corso prima di "
        "riprovare.");

    // Another program copied text: the next poll reads it.
    void copy(const QString &text);
    // The owner stops answering (reads fail) or answers again.
    void setUnavailable(bool unavailable);
    // The next polls report a read in flight.
    void setPending(bool pending);

    // Texts the next Ready poll reports as read and replaced since the last one.
    QStringList earlier;

    QString text() const { return m_text; }
    int reads() const { return m_reads; }
    int writes() const { return m_writes; }
    int clears() const { return m_clears; }

    Reading poll() override;
    Reading readNow() override;
    bool setText(const QByteArray &utf8) override;
    bool clear() override;

private:
    QString m_text;
    quint64 m_serial = 1;
    bool m_unavailable = false;
    bool m_pending = false;
    int m_reads = 0;
    int m_writes = 0;
    int m_clears = 0;
};
