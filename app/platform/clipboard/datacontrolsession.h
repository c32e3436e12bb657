// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "datacontrolprotocol.h"
#include "readresult.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <chrono>
#include <functional>
#include <list>
#include <map>
#include <memory>

class DataControlSource;
class OfferRead;
class QDeadlineTimer;
class QSocketNotifier;
struct wl_callback;
struct wl_display;
struct wl_registry;

/// A Wayland connection of its own to the seat's selection through a
/// data-control protocol: it learns of every change of the selection, reads
/// offers, and sets this program's text or no selection at all. Lives on one
/// thread and never blocks it, except open() for at most its timeout; every
/// member is called there.
class DataControlSession : public QObject
{
    Q_OBJECT
public:
    explicit DataControlSession(const ReadLimits &limits, QObject *parent = nullptr);
    ~DataControlSession() override;

    /// Connects (displayName empty: the WAYLAND_DISPLAY of the environment)
    /// and binds the standard protocol where offered, else the wlroots one.
    /// Returns the name of the manager bound; empty when the compositor
    /// cannot be reached in time or offers neither.
    QByteArray open(const QByteArray &displayName, std::chrono::milliseconds timeout);

    /// Reads the current selection; readDone() follows. With this program's
    /// source as the selection, its text is the answer, never read back.
    void read(quint64 ticket);
    /// Ends every read with a ticket up to this one soon.
    void cancelUpTo(quint64 ticket);
    /// Makes `text` the selection, as source `id`.
    void setText(quint64 id, const QByteArray &utf8);
    /// Sets no selection.
    void clear();

Q_SIGNALS:
    /// The selection changed (another program's, or none).
    void changed();
    void readDone(const ReadResult &result);
    /// Source `id` is no longer the selection.
    void sourceCancelled(quint64 id);
    /// The connection failed or the protocol went away; the session is dead.
    void lost();

private:
    static void onGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface,
                         uint32_t version);
    static void onGlobalRemove(void *data, wl_registry *registry, uint32_t name);
    static void onDataOffer(void *data, wl_proxy *device, wl_proxy *offer);
    static void onOfferType(void *data, wl_proxy *offer, const char *mimeType);
    static void onSelection(void *data, wl_proxy *device, wl_proxy *offer);
    static void onFinished(void *data, wl_proxy *device);
    static void onPrimarySelection(void *data, wl_proxy *device, wl_proxy *offer);
    static void onCaughtUp(void *data, wl_callback *callback, uint32_t);

    bool bind();
    bool roundtrip(const QDeadlineTimer &deadline);
    void dispatch();
    void flush();
    // Records a failure; settle() then ends the session, outside libwayland's dispatch.
    void fail(const char *why);
    void settle();
    void teardown();
    // Runs `then` once the compositor has answered every request sent so far,
    // and so sent every event they caused. A clearing wait makes the
    // selection count as empty until then.
    void afterCompositor(bool clearing, std::function<void()> then);
    bool clearing() const;
    // Destroys every offer but this one, which becomes the selection.
    void keepOffer(wl_proxy *offer);
    void abandonRead();
    void finishRead(const ReadResult &result);

    ReadLimits m_limits;
    const char *m_failure = nullptr;
    wl_display *m_display = nullptr;
    wl_registry *m_registry = nullptr;
    // Registry names and versions of the globals found.
    uint32_t m_standardName = 0;
    uint32_t m_wlrootsName = 0;
    uint32_t m_seatName = 0;
    uint32_t m_managerName = 0;
    const DataControlProtocol *m_protocol = nullptr;
    wl_proxy *m_seat = nullptr;
    wl_proxy *m_manager = nullptr;
    wl_proxy *m_device = nullptr;
    std::unique_ptr<QSocketNotifier> m_readable;
    std::unique_ptr<QSocketNotifier> m_writable;

    // Offers announced and not destroyed yet, with their types.
    std::map<wl_proxy *, QList<QByteArray>> m_offers;
    wl_proxy *m_selection = nullptr;
    struct Wait
    {
        DataControlSession *session;
        wl_callback *callback;
        bool clearing;
        std::function<void()> then;
    };
    std::list<Wait> m_waits;

    OfferRead *m_read = nullptr;
    quint64 m_readTicket = 0;
    quint64 m_cancelledUpTo = 0;

    std::unique_ptr<DataControlSource> m_source;
};
