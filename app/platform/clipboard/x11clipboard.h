// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "qtclipboardwriter.h"
#include "workerclipboard.h"
#include "x11selectionreader.h"

#include <QClipboard>
#include <QThread>
#include <memory>

/// The clipboard on X11, read without ever making the UI thread wait for
/// another program.
///
/// Reads run on a worker thread with an X connection of their own, bounded by
/// X11ReadLimits. Qt reports every change of owner; when this program owns
/// the clipboard, its own text is the answer.
class X11Clipboard : public WorkerClipboard
{
    Q_OBJECT
public:
    explicit X11Clipboard(const X11ReadLimits &limits = {}, QObject *parent = nullptr);
    /// Stops the worker; a read in flight is cancelled, never waited out.
    ~X11Clipboard() override;

    bool setText(const QByteArray &utf8) override { return m_writer.setText(utf8); }
    bool clear() override { return m_writer.clear(); }

protected:
    bool ownsClipboard() const override;
    QByteArray ownText() const override;
    void startRead(quint64 ticket) override;
    void cancelRead(quint64 ticket) override;

private:
    void onClipboardChanged(QClipboard::Mode mode);

    QtClipboardWriter m_writer;
    std::unique_ptr<X11SelectionReader> m_reader;
    QThread m_thread;
    // Lives on m_thread; reads run there as queued calls.
    std::unique_ptr<QObject> m_worker;
};
