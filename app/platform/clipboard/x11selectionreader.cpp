// SPDX-License-Identifier: GPL-3.0-or-later
#include "x11selectionreader.h"

#include <QList>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using XcbPtr = std::unique_ptr<T, FreeDeleter>;

// Property reads go in pieces of this many 32-bit units (64 KiB), so a large
// text never needs a second full-size reply buffer next to our own; and below
// the allocator's mapping threshold, so that each piece reuses the last one's
// memory and the thread keeps no more than one of them once the read is done.
constexpr quint32 kChunkUnits = 16 * 1024;
// TARGETS lists and hint values are small; more is nonsense.
constexpr qsizetype kSmallPropertyLimit = 64 * 1024;

quint8 eventType(const xcb_generic_event_t *event)
{
    return event->response_type & 0x7f; // high bit: sent by another client
}

} // namespace

X11SelectionReader::X11SelectionReader(const X11ReadLimits &limits, const QByteArray &displayName)
    : m_limits(limits), m_displayName(displayName),
      m_wakeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{}

X11SelectionReader::~X11SelectionReader()
{
    disconnectFromServer();
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

void X11SelectionReader::cancelUpTo(quint64 ticket)
{
    quint64 current = m_cancelledUpTo.load();
    while (current < ticket && !m_cancelledUpTo.compare_exchange_weak(current, ticket)) {
    }
    const quint64 one = 1;
    if (m_wakeFd >= 0)
        (void)!::write(m_wakeFd, &one, sizeof one);
}

bool X11SelectionReader::cancelled() const
{
    return m_ticket <= m_cancelledUpTo.load();
}

template <typename Match>
X11SelectionReader::Step X11SelectionReader::waitForEvent(Match match, Clock::time_point deadline)
{
    xcb_flush(m_connection);
    for (;;) {
        while (const XcbPtr<xcb_generic_event_t> event{xcb_poll_for_event(m_connection)}) {
            if (match(event.get()))
                return Step::Done;
        }
        if (xcb_connection_has_error(m_connection))
            return Step::Broken;
        if (cancelled())
            return Step::Cancelled;
        const auto now = Clock::now();
        if (now >= deadline)
            return Step::TimedOut;
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
        pollfd fds[] = {{xcb_get_file_descriptor(m_connection), POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        if (::poll(fds, 2, int(wait.count())) > 0 && (fds[1].revents & POLLIN)) {
            quint64 count = 0;
            (void)!::read(m_wakeFd, &count, sizeof count);
        }
    }
}

X11SelectionReader::Result X11SelectionReader::read(quint64 ticket)
{
    m_ticket = ticket;
    m_readDeadline = Clock::now() + m_limits.totalTimeout;
    if (cancelled())
        return {Outcome::Cancelled, {}};
    if (!ensureConnected() || !createWindow()) {
        disconnectFromServer();
        return {Outcome::NoDisplay, {}};
    }
    Result result = readFromOwner();
    // A fresh window per read: an owner still busy with an abandoned transfer
    // writes to a window that is gone and cannot disturb the next read.
    destroyWindow();
    if (result.outcome == Outcome::NoDisplay)
        disconnectFromServer();
    return result;
}

bool X11SelectionReader::ensureConnected()
{
    if (m_connection && !xcb_connection_has_error(m_connection))
        return true;
    disconnectFromServer();
    m_connection =
        xcb_connect(m_displayName.isEmpty() ? nullptr : m_displayName.constData(), nullptr);
    if (xcb_connection_has_error(m_connection)) {
        disconnectFromServer();
        return false;
    }
    m_atoms.clipboard = intern("CLIPBOARD");
    m_atoms.targets = intern("TARGETS");
    m_atoms.utf8String = intern("UTF8_STRING");
    m_atoms.textPlainUtf8 = intern("text/plain;charset=utf-8");
    m_atoms.incr = intern("INCR");
    m_atoms.passwordHint = intern(ClipText::kPasswordHintType);
    m_atoms.named = {{m_atoms.passwordHint, ClipText::kPasswordHintType}};
    m_atoms.textTypes.clear();
    for (const char *type : ClipText::kTextTypes) {
        m_atoms.textTypes.append(intern(type));
        m_atoms.named.append({m_atoms.textTypes.last(), type});
    }
    for (const char *type : ClipText::kFileListTypes)
        m_atoms.named.append({intern(type), type});
    m_atoms.property = intern("SCRIVEL_SELECTION");
    m_atoms.timestamp = intern("SCRIVEL_TIMESTAMP");
    return !xcb_connection_has_error(m_connection);
}

void X11SelectionReader::disconnectFromServer()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    m_connection = nullptr;
    m_window = XCB_NONE;
}

xcb_atom_t X11SelectionReader::intern(const char *name)
{
    const XcbPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, quint16(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : XCB_NONE;
}

bool X11SelectionReader::createWindow()
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    if (!screen)
        return false;
    m_window = xcb_generate_id(m_connection);
    const quint32 eventMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &eventMask);
    return !xcb_connection_has_error(m_connection);
}

void X11SelectionReader::destroyWindow()
{
    if (!m_connection || m_window == XCB_NONE)
        return;
    xcb_destroy_window(m_connection, m_window);
    xcb_flush(m_connection);
    m_window = XCB_NONE;
}

X11SelectionReader::Result X11SelectionReader::readFromOwner()
{
    const XcbPtr<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, m_atoms.clipboard), nullptr));
    if (!owner)
        return finish(Step::Broken);
    if (owner->owner == XCB_NONE)
        return {Outcome::NoOwner, {}};

    xcb_timestamp_t time = XCB_CURRENT_TIME;
    Step step = serverTime(&time);
    Offer offered;
    if (step == Step::Done)
        step = offer(time, &offered);
    if (step != Step::Done)
        return finish(step);

    if (offered.hasPasswordHint) {
        bool secret = false;
        step = isSecret(time, &secret);
        if (step != Step::Done)
            return finish(step);
        if (secret)
            return {Outcome::Secret, {}};
    }
    if (offered.textTypes.isEmpty())
        return {Outcome::NoText, {}};
    for (const xcb_atom_t type : std::as_const(offered.textTypes)) {
        QByteArray text;
        step = fetchText(type, time, &text);
        if (step == Step::Done)
            return {Outcome::Text, std::move(text)};
        if (step != Step::Refused)
            return finish(step);
    }
    return {Outcome::Refused, {}};
}

X11SelectionReader::Result X11SelectionReader::finish(Step step)
{
    switch (step) {
    case Step::Done:
    case Step::Refused:
        return {Outcome::Refused, {}};
    case Step::TooLarge:
        return {Outcome::TooLarge, {}};
    case Step::TimedOut:
        return {Outcome::TimedOut, {}};
    case Step::Cancelled:
        return {Outcome::Cancelled, {}};
    case Step::Broken:
        break;
    }
    return {Outcome::NoDisplay, {}};
}

// A timestamp from the server (the time of a property change on our own
// window) rather than CurrentTime, so that conversion requests are ordered
// properly against changes of owner.
X11SelectionReader::Step X11SelectionReader::serverTime(xcb_timestamp_t *time)
{
    xcb_change_property(m_connection, XCB_PROP_MODE_APPEND, m_window, m_atoms.timestamp,
                        XCB_ATOM_INTEGER, 32, 0, nullptr);
    return waitForEvent(
        [&](const xcb_generic_event_t *event) {
            if (eventType(event) != XCB_PROPERTY_NOTIFY)
                return false;
            const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            if (notify->window != m_window || notify->atom != m_atoms.timestamp)
                return false;
            *time = notify->time;
            return true;
        },
        nextStepDeadline());
}

X11SelectionReader::Step X11SelectionReader::convert(xcb_atom_t target, xcb_timestamp_t time)
{
    xcb_delete_property(m_connection, m_window, m_atoms.property);
    xcb_convert_selection(m_connection, m_window, m_atoms.clipboard, target, m_atoms.property,
                          time);
    bool refused = false;
    const Step step = waitForEvent(
        [&](const xcb_generic_event_t *event) {
            if (eventType(event) != XCB_SELECTION_NOTIFY)
                return false;
            const auto *notify = reinterpret_cast<const xcb_selection_notify_event_t *>(event);
            if (notify->requestor != m_window || notify->selection != m_atoms.clipboard ||
                notify->target != target ||
                (notify->time != time && notify->time != XCB_CURRENT_TIME))
                return false;
            refused = notify->property == XCB_NONE;
            return true;
        },
        nextStepDeadline());
    return step == Step::Done && refused ? Step::Refused : step;
}

// Appends the value of our property to *out and deletes the property (which,
// during an INCR transfer, asks the owner for the next piece).
X11SelectionReader::Step X11SelectionReader::readProperty(MappedBuffer *out, qsizetype limit,
                                                          Property *property)
{
    const auto get = [this](bool remove, quint32 offset, quint32 length) {
        return XcbPtr<xcb_get_property_reply_t>(xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, remove, m_window, m_atoms.property,
                             XCB_GET_PROPERTY_TYPE_ANY, offset, length),
            nullptr));
    };
    const auto head = get(false, 0, 0);
    if (!head)
        return Step::Broken;
    if (head->type == XCB_NONE)
        return Step::Refused; // announced, but never written
    property->type = head->type;
    property->format = head->format;
    if (qsizetype(head->bytes_after) > limit) {
        xcb_delete_property(m_connection, m_window, m_atoms.property);
        return Step::TooLarge;
    }
    if (out->isEmpty() && !out->reserve(qsizetype(head->bytes_after)))
        return Step::TooLarge;

    qsizetype received = 0;
    for (quint32 offset = 0;;) {
        const auto piece = get(true, offset, kChunkUnits);
        if (!piece)
            return Step::Broken;
        const int length = xcb_get_property_value_length(piece.get());
        received += length;
        if (received > limit) // the owner grew the property while we read it
            return Step::TooLarge;
        if (!out->append(static_cast<const char *>(xcb_get_property_value(piece.get())), length))
            return Step::TooLarge; // more than the system will give us
        if (piece->bytes_after == 0 || length == 0)
            return Step::Done;
        offset += quint32(length) / 4;
    }
}

X11SelectionReader::Step X11SelectionReader::offer(xcb_timestamp_t time, Offer *offer)
{
    // An owner that does not list its types may still give text when asked.
    offer->hasPasswordHint = false;
    offer->textTypes = m_atoms.textTypes;

    MappedBuffer list;
    Property property;
    bool answered = false;
    const Step step = smallAnswer(m_atoms.targets, time, &list, &property, &answered);
    if (step != Step::Done || !answered || property.format != 32 || property.type == m_atoms.incr)
        return step;

    QList<xcb_atom_t> listed(list.size() / qsizetype(sizeof(xcb_atom_t)));
    std::memcpy(listed.data(), list.bytes().constData(),
                size_t(listed.size()) * sizeof(xcb_atom_t));
    QList<QByteArray> names;
    for (const auto &[atom, name] : std::as_const(m_atoms.named)) {
        if (listed.contains(atom))
            names.append(name);
    }
    const ClipText::Offer rules = ClipText::readOffer(names);
    offer->hasPasswordHint = rules.hasPasswordHint;
    offer->textTypes.clear();
    for (const auto &[atom, name] : std::as_const(m_atoms.named)) {
        if (rules.textTypes.contains(name))
            offer->textTypes.append(atom);
    }
    return Step::Done;
}

X11SelectionReader::Step X11SelectionReader::isSecret(xcb_timestamp_t time, bool *secret)
{
    MappedBuffer value;
    Property property;
    bool answered = false;
    const Step step = smallAnswer(m_atoms.passwordHint, time, &value, &property, &answered);
    *secret = answered && ClipText::isSecretHint(value.bytes());
    return step;
}

X11SelectionReader::Step X11SelectionReader::smallAnswer(xcb_atom_t target, xcb_timestamp_t time,
                                                         MappedBuffer *value, Property *property,
                                                         bool *answered)
{
    // An owner that refuses, or answers with more than a small value, has
    // simply not answered; only a broken connection or a missed deadline ends the read.
    *answered = false;
    const Step step = convert(target, time);
    if (step == Step::Refused)
        return Step::Done;
    if (step != Step::Done)
        return step;
    const Step read = readProperty(value, kSmallPropertyLimit, property);
    if (read == Step::Broken)
        return read;
    *answered = read == Step::Done;
    return Step::Done;
}

X11SelectionReader::Step X11SelectionReader::fetchText(xcb_atom_t target, xcb_timestamp_t time,
                                                       QByteArray *text)
{
    Step step = convert(target, time);
    if (step != Step::Done)
        return step;
    // The raw bytes live outside the heap: once decoded, a large text costs
    // its own bytes and nothing more.
    MappedBuffer bytes;
    Property property;
    step = readProperty(&bytes, m_limits.maxBytes, &property);
    if (step != Step::Done)
        return step;
    if (property.type == m_atoms.incr) {
        quint32 sizeHint = 0; // a lower bound of the size, by convention (often 0)
        if (bytes.size() >= qsizetype(sizeof sizeHint))
            std::memcpy(&sizeHint, bytes.bytes().constData(), sizeof sizeHint);
        if (qsizetype(sizeHint) > m_limits.maxBytes)
            return Step::TooLarge;
        bytes.clear();
        if (!bytes.reserve(qsizetype(sizeHint)))
            return Step::TooLarge;
        step = receiveIncrementally(&bytes, &property);
        if (step != Step::Done)
            return step;
    }
    if (property.format != 8 && !bytes.isEmpty())
        return Step::Refused;

    bool latin1 = target == XCB_ATOM_STRING;
    if (property.type == XCB_ATOM_STRING)
        latin1 = true;
    else if (property.type == m_atoms.utf8String || property.type == m_atoms.textPlainUtf8)
        latin1 = false;
    *text = ClipText::decode(bytes.bytes(),
                             latin1 ? ClipText::Encoding::Latin1 : ClipText::Encoding::Utf8);
    return Step::Done;
}

X11SelectionReader::Step X11SelectionReader::receiveIncrementally(MappedBuffer *bytes,
                                                                  Property *property)
{
    for (;;) {
        const Step arrived = waitForEvent(
            [this](const xcb_generic_event_t *event) {
                if (eventType(event) != XCB_PROPERTY_NOTIFY)
                    return false;
                const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
                return notify->window == m_window && notify->atom == m_atoms.property &&
                       notify->state == XCB_PROPERTY_NEW_VALUE;
            },
            nextStepDeadline());
        if (arrived != Step::Done)
            return arrived;
        const qsizetype before = bytes->size();
        Property piece;
        const Step step = readProperty(bytes, m_limits.maxBytes - before, &piece);
        if (step == Step::Refused)
            continue; // gone again before we looked: wait for the next value
        if (step != Step::Done)
            return step;
        if (bytes->size() == before) // a piece of length zero ends the transfer
            return Step::Done;
        *property = piece;
    }
}

X11SelectionReader::Clock::time_point X11SelectionReader::nextStepDeadline() const
{
    return std::min(Clock::now() + m_limits.stepTimeout, m_readDeadline);
}
