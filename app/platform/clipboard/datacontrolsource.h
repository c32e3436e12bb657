// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "datacontrolprotocol.h"

#include <QByteArray>
#include <chrono>
#include <functional>

class QObject;

/// This program's text as the selection: a data-control source offering it
/// in every text type, serving each paste by a PasteWriter of its own. A
/// paste begun goes on after the source is replaced or destroyed.
class DataControlSource
{
public:
    /// Creates the source and offers its types; DataControlProtocol::
    /// setSelection() still has to make it the selection. Pastes become
    /// children of `pastes`, on its thread. `cancelled` runs when another
    /// selection replaces this one; it may destroy the source.
    DataControlSource(const DataControlProtocol &protocol, wl_proxy *manager,
                      const QByteArray &utf8, std::chrono::milliseconds pasteDeadline,
                      QObject *pastes, std::function<void()> cancelled);
    /// Withdraws the source.
    ~DataControlSource();
    DataControlSource(const DataControlSource &) = delete;
    DataControlSource &operator=(const DataControlSource &) = delete;

    wl_proxy *proxy() const { return m_source; }
    /// The text offered, in UTF-8.
    const QByteArray &text() const { return m_utf8; }

private:
    static void onSend(void *data, wl_proxy *source, const char *mimeType, int32_t fd);
    static void onCancelled(void *data, wl_proxy *source);
    QByteArray bytesFor(const char *mimeType);

    wl_proxy *m_source;
    QByteArray m_utf8;
    QByteArray m_latin1;
    std::chrono::milliseconds m_pasteDeadline;
    QObject *m_pastes;
    std::function<void()> m_cancelled;
};
