// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workerclipboard.h"

#include <QByteArray>
#include <QThread>
#include <memory>

class DataControlSession;

/// The clipboard of a Wayland session, read and written through a
/// data-control protocol on a Wayland connection and a thread of its own:
/// every copy is seen, whatever window has the focus, and the UI thread
/// never waits on the compositor or another program.
///
/// Putting a text on the clipboard makes this program the selection's
/// source, serving every paste until another program replaces it; emptying
/// it sets no selection. Should the compositor go away, poll() reports
/// Failed from then on and connectionLost() is emitted once.
class WaylandClipboard : public WorkerClipboard
{
    Q_OBJECT
public:
    /// Connects to the compositor (displayName empty: WAYLAND_DISPLAY);
    /// nullptr when it cannot be reached or offers no data-control protocol.
    static std::unique_ptr<WaylandClipboard> connectTo(const ReadLimits &limits = {},
                                                       const QByteArray &displayName = {},
                                                       QObject *parent = nullptr);
    /// Ends the connection; a read or a paste in flight is dropped, never waited out.
    ~WaylandClipboard() override;

    bool setText(const QByteArray &utf8) override;
    bool clear() override;

    /// The data-control manager in use, e.g. "ext_data_control_manager_v1".
    QByteArray protocolName() const { return m_protocol; }
    bool isConnected() const { return !m_lost; }

Q_SIGNALS:
    void connectionLost();

protected:
    bool ownsClipboard() const override { return m_owned; }
    QByteArray ownText() const override { return m_ownText; }
    void startRead(quint64 ticket) override;
    void cancelRead(quint64 ticket) override;

private:
    WaylandClipboard(const ReadLimits &limits, QObject *parent);
    bool open(const QByteArray &displayName);
    void onSourceCancelled(quint64 id);
    void onLost();
    // Runs on the session's thread.
    template <typename Call> void onSession(Call call);

    QThread m_thread;
    // Lives on m_thread; destroyed there.
    DataControlSession *m_session;
    QByteArray m_protocol;
    bool m_lost = false;
    bool m_owned = false;
    QByteArray m_ownText;
    quint64 m_sourceId = 0;
};
