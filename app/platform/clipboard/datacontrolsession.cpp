// SPDX-License-Identifier: GPL-3.0-or-later
#include "datacontrolsession.h"

#include "datacontrolsource.h"
#include "logcategories.h"
#include "offerread.h"
#include "pastewriter.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <wayland-client.h>

namespace {

void onSynced(void *data, wl_callback *, uint32_t)
{
    *static_cast<bool *>(data) = true;
}

} // namespace

DataControlSession::DataControlSession(const ReadLimits &limits, QObject *parent)
    : QObject(parent), m_limits(limits)
{}

DataControlSession::~DataControlSession()
{
    teardown();
}

QByteArray DataControlSession::open(const QByteArray &displayName,
                                    std::chrono::milliseconds timeout)
{
    m_display = wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
    if (!m_display)
        return {};
    PasteWriter::ignoreBrokenPipesOnThisThread();
    static const wl_registry_listener registryListener{&onGlobal, &onGlobalRemove};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &registryListener, this);
    const QDeadlineTimer deadline(timeout);
    // The second round trip brings the selection the compositor holds now.
    if (!roundtrip(deadline) || !bind() || !roundtrip(deadline) || m_failure) {
        teardown();
        return {};
    }
    m_readable =
        std::make_unique<QSocketNotifier>(wl_display_get_fd(m_display), QSocketNotifier::Read);
    connect(m_readable.get(), &QSocketNotifier::activated, this, &DataControlSession::dispatch);
    return m_protocol->managerName;
}

bool DataControlSession::bind()
{
    const uint32_t name = m_standardName ? m_standardName : m_wlrootsName;
    if (!name || !m_seatName)
        return false;
    m_protocol =
        m_standardName ? &DataControlProtocol::standard() : &DataControlProtocol::wlroots();
    m_managerName = name;
    m_manager = static_cast<wl_proxy *>(
        wl_registry_bind(m_registry, name, m_protocol->manager, m_protocol->version));
    // The seat is only named to the manager: the first version will do.
    m_seat =
        static_cast<wl_proxy *>(wl_registry_bind(m_registry, m_seatName, &wl_seat_interface, 1));
    m_device = m_protocol->getDevice(m_manager, m_seat);
    static const DataControlProtocol::DeviceListener deviceListener{
        &onDataOffer, &onSelection, &onFinished, &onPrimarySelection};
    DataControlProtocol::listen(m_device, deviceListener, this);
    return true;
}

// A round trip that gives up at the deadline, unlike wl_display_roundtrip().
bool DataControlSession::roundtrip(const QDeadlineTimer &deadline)
{
    static const wl_callback_listener syncListener{&onSynced};
    bool done = false;
    wl_callback *callback = wl_display_sync(m_display);
    wl_callback_add_listener(callback, &syncListener, &done);
    bool ok = true;
    while (ok && !done) {
        if (wl_display_prepare_read(m_display) != 0) {
            ok = wl_display_dispatch_pending(m_display) >= 0;
            continue;
        }
        pollfd fd{wl_display_get_fd(m_display), POLLIN, 0};
        if (wl_display_flush(m_display) < 0 && errno == EAGAIN)
            fd.events |= POLLOUT;
        const int ready = ::poll(&fd, 1, int(deadline.remainingTime()));
        if (ready > 0 && (fd.revents & POLLIN)) {
            ok = wl_display_read_events(m_display) >= 0 &&
                 wl_display_dispatch_pending(m_display) >= 0;
            continue;
        }
        wl_display_cancel_read(m_display);
        // Go on only when the socket merely became writable, or a signal came.
        ok = (ready > 0 && fd.revents == POLLOUT) || (ready < 0 && errno == EINTR);
    }
    wl_callback_destroy(callback);
    return ok;
}

void DataControlSession::onGlobal(void *data, wl_registry *, uint32_t name, const char *interface,
                                  uint32_t)
{
    auto *self = static_cast<DataControlSession *>(data);
    if (std::strcmp(interface, DataControlProtocol::standard().managerName) == 0)
        self->m_standardName = name;
    else if (std::strcmp(interface, DataControlProtocol::wlroots().managerName) == 0)
        self->m_wlrootsName = name;
    else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->m_seatName)
        self->m_seatName = name;
}

void DataControlSession::onGlobalRemove(void *data, wl_registry *, uint32_t name)
{
    auto *self = static_cast<DataControlSession *>(data);
    if (self->m_device && (name == self->m_managerName || name == self->m_seatName))
        self->fail("the compositor withdrew the seat or the data-control protocol");
}

void DataControlSession::onDataOffer(void *data, wl_proxy *, wl_proxy *offer)
{
    static const DataControlProtocol::OfferListener offerListener{&onOfferType};
    static_cast<DataControlSession *>(data)->m_offers[offer];
    DataControlProtocol::listen(offer, offerListener, data);
}

void DataControlSession::onOfferType(void *data, wl_proxy *offer, const char *mimeType)
{
    auto *self = static_cast<DataControlSession *>(data);
    const auto found = self->m_offers.find(offer);
    if (found != self->m_offers.end())
        found->second.append(QByteArray(mimeType));
}

void DataControlSession::onSelection(void *data, wl_proxy *, wl_proxy *offer)
{
    auto *self = static_cast<DataControlSession *>(data);
    // What arrived of the old selection in full still counts; the rest does not.
    self->abandonRead();
    self->keepOffer(offer);
    // While the compositor catches up with a request of ours, events are old
    // news: the wait's end tells what the selection is.
    if (self->m_waits.empty())
        emit self->changed();
}

void DataControlSession::onFinished(void *data, wl_proxy *)
{
    static_cast<DataControlSession *>(data)->fail("the seat's data device was withdrawn");
}

void DataControlSession::onPrimarySelection(void *data, wl_proxy *, wl_proxy *offer)
{
    // Only the clipboard's selection is kept.
    auto *self = static_cast<DataControlSession *>(data);
    if (offer && offer != self->m_selection) {
        self->m_offers.erase(offer);
        DataControlProtocol::destroy(offer);
    }
}

void DataControlSession::afterCompositor(bool clearing, std::function<void()> then)
{
    static const wl_callback_listener listener{&onCaughtUp};
    Wait &wait =
        m_waits.emplace_back(Wait{this, wl_display_sync(m_display), clearing, std::move(then)});
    wl_callback_add_listener(wait.callback, &listener, &wait);
}

void DataControlSession::onCaughtUp(void *data, wl_callback *callback, uint32_t)
{
    auto *wait = static_cast<Wait *>(data);
    DataControlSession *self = wait->session;
    const std::function<void()> then = std::move(wait->then);
    wl_callback_destroy(callback);
    self->m_waits.remove_if([wait](const Wait &each) { return &each == wait; });
    then();
}

bool DataControlSession::clearing() const
{
    return std::any_of(m_waits.begin(), m_waits.end(),
                       [](const Wait &wait) { return wait.clearing; });
}

void DataControlSession::keepOffer(wl_proxy *offer)
{
    for (auto it = m_offers.begin(); it != m_offers.end();) {
        if (it->first == offer) {
            ++it;
            continue;
        }
        DataControlProtocol::destroy(it->first);
        it = m_offers.erase(it);
    }
    m_selection = offer;
}

void DataControlSession::dispatch()
{
    if (wl_display_prepare_read(m_display) == 0 && wl_display_read_events(m_display) < 0)
        fail("the connection to the compositor broke");
    else if (wl_display_dispatch_pending(m_display) < 0)
        fail("the compositor ended the connection");
    flush();
    settle();
}

void DataControlSession::flush()
{
    if (!m_display || m_failure)
        return;
    if (wl_display_flush(m_display) >= 0) {
        if (m_writable)
            m_writable->setEnabled(false);
        return;
    }
    if (errno != EAGAIN) {
        fail("the connection to the compositor broke");
        return;
    }
    // The compositor is slow to take our requests: send the rest when it can.
    if (!m_writable) {
        m_writable =
            std::make_unique<QSocketNotifier>(wl_display_get_fd(m_display), QSocketNotifier::Write);
        connect(m_writable.get(), &QSocketNotifier::activated, this, [this] {
            flush();
            settle();
        });
    }
    m_writable->setEnabled(true);
}

void DataControlSession::fail(const char *why)
{
    if (!m_failure)
        m_failure = why;
}

void DataControlSession::settle()
{
    if (!m_failure || !m_display)
        return;
    qCWarning(lcClipboard, "Wayland clipboard unavailable: %s (error %d)", m_failure,
              wl_display_get_error(m_display));
    teardown();
    emit lost();
}

void DataControlSession::teardown()
{
    m_readable.reset();
    m_writable.reset();
    abandonRead();
    if (!m_display)
        return;
    for (const Wait &wait : m_waits)
        wl_callback_destroy(wait.callback);
    m_waits.clear();
    m_source.reset();
    keepOffer(nullptr);
    if (m_device)
        DataControlProtocol::destroy(m_device);
    if (m_manager)
        DataControlProtocol::destroy(m_manager);
    if (m_seat)
        wl_proxy_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    m_device = m_manager = m_seat = nullptr;
    m_registry = nullptr;
    wl_display_disconnect(m_display);
    m_display = nullptr;
}

void DataControlSession::read(quint64 ticket)
{
    if (ticket <= m_cancelledUpTo)
        return finishRead({ReadOutcome::Cancelled, {}});
    if (!m_device)
        return finishRead({ReadOutcome::NoDisplay, {}});
    if (m_source)
        return finishRead({ReadOutcome::Text, m_source->text()});
    if (clearing() || !m_selection)
        return finishRead({ReadOutcome::NoOwner, {}});

    wl_proxy *offer = m_selection;
    m_readTicket = ticket;
    m_read = new OfferRead(
        m_offers[offer],
        [this, offer](const QByteArray &type, int fd) {
            DataControlProtocol::receive(offer, type.constData(), fd);
            flush();
            return !m_failure;
        },
        m_limits, this);
    connect(m_read, &OfferRead::finished, this, &DataControlSession::finishRead);
    m_read->start();
    settle();
}

void DataControlSession::finishRead(const ReadResult &result)
{
    if (m_read) {
        // It may be the sender, amid its signal.
        m_read->deleteLater();
        m_read = nullptr;
    }
    emit readDone(result);
}

void DataControlSession::abandonRead()
{
    if (m_read)
        m_read->abandon();
}

void DataControlSession::cancelUpTo(quint64 ticket)
{
    m_cancelledUpTo = std::max(m_cancelledUpTo, ticket);
    if (m_read && m_readTicket <= ticket)
        m_read->abandon();
}

void DataControlSession::setText(quint64 id, const QByteArray &utf8)
{
    if (!m_device) {
        emit sourceCancelled(id);
        return;
    }
    // The selection is ours from now on: what another program offered is gone.
    abandonRead();
    keepOffer(nullptr);
    std::unique_ptr<DataControlSource> previous = std::move(m_source);
    const auto cancelled = [this, id] {
        m_source.reset();
        // The selection that replaced it may be reported just after: by then
        // it is known, and our own offer is never read back.
        afterCompositor(false, [this, id] { emit sourceCancelled(id); });
    };
    m_source = std::make_unique<DataControlSource>(*m_protocol, m_manager, utf8,
                                                   m_limits.totalTimeout, this, cancelled);
    DataControlProtocol::setSelection(m_device, m_source->proxy());
    // Replaced only now, so that the selection is never empty in between.
    previous.reset();
    flush();
    settle();
}

void DataControlSession::clear()
{
    if (!m_device)
        return;
    abandonRead();
    keepOffer(nullptr);
    m_source.reset();
    DataControlProtocol::setSelection(m_device, nullptr);
    // Whatever the compositor reports after it saw this is the selection.
    afterCompositor(true, [this] { emit changed(); });
    flush();
    settle();
}
