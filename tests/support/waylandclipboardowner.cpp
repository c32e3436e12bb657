// SPDX-License-Identifier: GPL-3.0-or-later
// A scriptable owner of the Wayland selection, for tests and benchmarks: it
// sets the selection through data-control (no window, no focus needed),
// prints "ready" once the compositor has it, and answers pastes as its
// options say: well-behaved, with the password hint, as copied files, or
// never sending anything. It exits when another program replaces its
// selection, or on SIGTERM.
//
//   scrivel_wayland_owner [--type T]... [--text S | --text-file F] [--latin1]
//                         [--hint VALUE] [--files] [--hang] [--burst N]
//
// --burst N offers "S 1" to "S N", each replaced by the next as soon as a
// paste of it has been served.

#include "cliptext.h"
#include "datacontrolprotocol.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <wayland-client.h>

namespace {

struct Options
{
    QList<QByteArray> types;
    QByteArray text;
    QByteArray hint;
    bool hasHint = false;
    bool files = false;
    bool hang = false;
    int burst = 0;
};

struct Owner
{
    Options options;
    uint32_t standard = 0;
    uint32_t wlroots = 0;
    uint32_t seat = 0;
    const DataControlProtocol *protocol = nullptr;
    wl_proxy *manager = nullptr;
    wl_proxy *device = nullptr;
    wl_proxy *source = nullptr;
    int burstIndex = 1;
    bool synced = false;
    bool cancelled = false;
    QList<int> unanswered;

    QByteArray text() const
    {
        return options.burst ? options.text + ' ' + QByteArray::number(burstIndex) : options.text;
    }
    void offerSelection();
};

bool parse(int argc, char *argv[], Options *options)
{
    bool latin1 = false;
    QString text;
    QByteArray file;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--type" && hasValue)
            options->types.append(argv[++i]);
        else if (arg == "--text" && hasValue)
            text = QString::fromUtf8(argv[++i]);
        else if (arg == "--text-file" && hasValue)
            file = argv[++i];
        else if (arg == "--hint" && hasValue) {
            options->hint = argv[++i];
            options->hasHint = true;
        } else if (arg == "--burst" && hasValue)
            options->burst = QByteArray(argv[++i]).toInt();
        else if (arg == "--latin1")
            latin1 = true;
        else if (arg == "--files")
            options->files = true;
        else if (arg == "--hang")
            options->hang = true;
        else
            return false;
    }
    if (options->types.isEmpty())
        options->types.append(ClipText::kTextTypes[0]);
    if (!file.isEmpty()) {
        QFile in(QString::fromLocal8Bit(file));
        if (!in.open(QIODevice::ReadOnly))
            return false;
        options->text = in.readAll();
    } else {
        options->text = latin1 ? text.toLatin1() : text.toUtf8();
    }
    return true;
}

void writeAll(int fd, const QByteArray &data)
{
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t put = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (put <= 0)
            return; // the reader gave up
        done += put;
    }
}

void onSend(void *data, wl_proxy *source, const char *mimeType, int32_t fd)
{
    auto *owner = static_cast<Owner *>(data);
    if (source != owner->source || owner->options.hang) {
        owner->unanswered.append(fd); // open, and never written to
        return;
    }
    const bool hint = std::strcmp(mimeType, ClipText::kPasswordHintType) == 0;
    writeAll(fd, hint ? owner->options.hint : owner->text());
    ::close(fd);
    if (!hint && owner->burstIndex < owner->options.burst) {
        ++owner->burstIndex;
        owner->offerSelection();
    }
}

void onCancelled(void *data, wl_proxy *source)
{
    auto *owner = static_cast<Owner *>(data);
    if (source == owner->source)
        owner->cancelled = true;
}

void Owner::offerSelection()
{
    wl_proxy *previous = source;
    source = protocol->createSource(manager);
    static const DataControlProtocol::SourceListener sourceListener{&onSend, &onCancelled};
    DataControlProtocol::listen(source, sourceListener, this);
    for (const QByteArray &type : std::as_const(options.types))
        DataControlProtocol::offerType(source, type.constData());
    if (options.hasHint)
        DataControlProtocol::offerType(source, ClipText::kPasswordHintType);
    if (options.files)
        DataControlProtocol::offerType(source, ClipText::kFileListTypes[0]);
    DataControlProtocol::setSelection(device, source);
    if (previous)
        DataControlProtocol::destroy(previous);
}

void onGlobal(void *data, wl_registry *, uint32_t name, const char *interface, uint32_t)
{
    auto *owner = static_cast<Owner *>(data);
    if (std::strcmp(interface, DataControlProtocol::standard().managerName) == 0)
        owner->standard = name;
    else if (std::strcmp(interface, DataControlProtocol::wlroots().managerName) == 0)
        owner->wlroots = name;
    else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !owner->seat)
        owner->seat = name;
}

void onGlobalRemove(void *, wl_registry *, uint32_t) {}

void onSynced(void *data, wl_callback *callback, uint32_t)
{
    static_cast<Owner *>(data)->synced = true;
    wl_callback_destroy(callback);
}

bool roundtrip(wl_display *display, Owner *owner)
{
    static const wl_callback_listener listener{&onSynced};
    owner->synced = false;
    wl_callback_add_listener(wl_display_sync(display), &listener, owner);
    while (!owner->synced) {
        if (wl_display_dispatch(display) < 0)
            return false;
    }
    return true;
}

// Offers of the selection are not looked at, only let go.
void onOffer(void *, wl_proxy *, wl_proxy *offer)
{
    DataControlProtocol::destroy(offer);
}
void onNothing(void *, wl_proxy *, wl_proxy *) {}
void onFinished(void *, wl_proxy *) {}

} // namespace

int main(int argc, char *argv[])
{
    Owner owner;
    if (!parse(argc, argv, &owner.options)) {
        std::fprintf(stderr, "usage: see the comment at the top of waylandclipboardowner.cpp\n");
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN);
    wl_display *display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot connect to the compositor\n");
        return 1;
    }
    static const wl_registry_listener registryListener{&onGlobal, &onGlobalRemove};
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &owner);
    if (!roundtrip(display, &owner) || !(owner.standard || owner.wlroots) || !owner.seat) {
        std::fprintf(stderr, "the compositor offers no data-control protocol\n");
        return 1;
    }
    owner.protocol =
        owner.standard ? &DataControlProtocol::standard() : &DataControlProtocol::wlroots();
    owner.manager = static_cast<wl_proxy *>(
        wl_registry_bind(registry, owner.standard ? owner.standard : owner.wlroots,
                         owner.protocol->manager, owner.protocol->version));
    auto *seat =
        static_cast<wl_proxy *>(wl_registry_bind(registry, owner.seat, &wl_seat_interface, 1));
    owner.device = owner.protocol->getDevice(owner.manager, seat);
    static const DataControlProtocol::DeviceListener deviceListener{&onOffer, &onNothing,
                                                                    &onFinished, &onNothing};
    DataControlProtocol::listen(owner.device, deviceListener, &owner);
    owner.offerSelection();
    if (!roundtrip(display, &owner))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    while (!owner.cancelled) {
        if (wl_display_dispatch(display) < 0)
            return 1;
    }
    return 0;
}
