// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

struct wl_interface;
struct wl_proxy;

/// One of the two data-control protocols a compositor may offer: the
/// standard one and its wlroots forerunner. Their messages are the same, in
/// the same order, so one set of requests and listeners serves both; only the
/// interfaces (and so the names on the wire) differ.
struct DataControlProtocol
{
    const char *managerName;
    /// The version bound: the first one, which has the clipboard's selection
    /// and, with the wlroots protocol, not yet the primary selection.
    uint32_t version;
    const wl_interface *manager;
    const wl_interface *device;
    const wl_interface *source;
    const wl_interface *offer;

    static const DataControlProtocol &standard();
    static const DataControlProtocol &wlroots();

    wl_proxy *createSource(wl_proxy *manager) const;
    wl_proxy *getDevice(wl_proxy *manager, wl_proxy *seat) const;

    static void setSelection(wl_proxy *device, wl_proxy *source);
    static void offerType(wl_proxy *source, const char *mimeType);
    static void receive(wl_proxy *offer, const char *mimeType, int fd);
    /// The destructor request of any of the four interfaces; frees the proxy.
    static void destroy(wl_proxy *object);

    /// The events, in the order of the protocols' messages.
    struct DeviceListener
    {
        void (*dataOffer)(void *data, wl_proxy *device, wl_proxy *offer);
        void (*selection)(void *data, wl_proxy *device, wl_proxy *offer);
        void (*finished)(void *data, wl_proxy *device);
        void (*primarySelection)(void *data, wl_proxy *device, wl_proxy *offer);
    };
    struct SourceListener
    {
        void (*send)(void *data, wl_proxy *source, const char *mimeType, int32_t fd);
        void (*cancelled)(void *data, wl_proxy *source);
    };
    struct OfferListener
    {
        void (*offer)(void *data, wl_proxy *offer, const char *mimeType);
    };
    static void listen(wl_proxy *device, const DeviceListener &listener, void *data);
    static void listen(wl_proxy *source, const SourceListener &listener, void *data);
    static void listen(wl_proxy *offer, const OfferListener &listener, void *data);
};
