// SPDX-License-Identifier: GPL-3.0-or-later
#include "datacontrolprotocol.h"

#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <cstring>
#include <wayland-client-core.h>

namespace {

// Opcodes of the requests, shared by both protocols.
enum ManagerRequest : uint32_t { CreateDataSource = 0, GetDataDevice = 1 };
enum DeviceRequest : uint32_t { SetSelection = 0 };
enum SourceRequest : uint32_t { Offer = 0 };
enum OfferRequest : uint32_t { Receive = 0 };
// Every interface has its destructor here: the manager's comes after its two
// requests, the others' after their first.
uint32_t destroyOpcode(wl_proxy *object)
{
    return std::strstr(wl_proxy_get_class(object), "_manager_") ? 2 : 1;
}

template <typename Listener> void addListener(wl_proxy *proxy, const Listener &listener, void *data)
{
    // The listener is a table of functions in the order of the events, as
    // libwayland expects; it must outlive the proxy (ours are static).
    wl_proxy_add_listener(
        proxy, reinterpret_cast<void (**)(void)>(const_cast<Listener *>(&listener)), data);
}

} // namespace

const DataControlProtocol &DataControlProtocol::standard()
{
    static const DataControlProtocol protocol{
        "ext_data_control_manager_v1",          1,
        &ext_data_control_manager_v1_interface, &ext_data_control_device_v1_interface,
        &ext_data_control_source_v1_interface,  &ext_data_control_offer_v1_interface};
    return protocol;
}

const DataControlProtocol &DataControlProtocol::wlroots()
{
    static const DataControlProtocol protocol{
        "zwlr_data_control_manager_v1",          1,
        &zwlr_data_control_manager_v1_interface, &zwlr_data_control_device_v1_interface,
        &zwlr_data_control_source_v1_interface,  &zwlr_data_control_offer_v1_interface};
    return protocol;
}

wl_proxy *DataControlProtocol::createSource(wl_proxy *manager) const
{
    return wl_proxy_marshal_flags(manager, CreateDataSource, source, wl_proxy_get_version(manager),
                                  0, nullptr);
}

wl_proxy *DataControlProtocol::getDevice(wl_proxy *manager, wl_proxy *seat) const
{
    return wl_proxy_marshal_flags(manager, GetDataDevice, device, wl_proxy_get_version(manager), 0,
                                  nullptr, seat);
}

void DataControlProtocol::setSelection(wl_proxy *device, wl_proxy *source)
{
    wl_proxy_marshal_flags(device, SetSelection, nullptr, wl_proxy_get_version(device), 0, source);
}

void DataControlProtocol::offerType(wl_proxy *source, const char *mimeType)
{
    wl_proxy_marshal_flags(source, Offer, nullptr, wl_proxy_get_version(source), 0, mimeType);
}

void DataControlProtocol::receive(wl_proxy *offer, const char *mimeType, int fd)
{
    wl_proxy_marshal_flags(offer, Receive, nullptr, wl_proxy_get_version(offer), 0, mimeType, fd);
}

void DataControlProtocol::destroy(wl_proxy *object)
{
    wl_proxy_marshal_flags(object, destroyOpcode(object), nullptr, wl_proxy_get_version(object),
                           WL_MARSHAL_FLAG_DESTROY);
}

void DataControlProtocol::listen(wl_proxy *device, const DeviceListener &listener, void *data)
{
    addListener(device, listener, data);
}

void DataControlProtocol::listen(wl_proxy *source, const SourceListener &listener, void *data)
{
    addListener(source, listener, data);
}

void DataControlProtocol::listen(wl_proxy *offer, const OfferListener &listener, void *data)
{
    addListener(offer, listener, data);
}
