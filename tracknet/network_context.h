// The object a building is handed to reach the tracking network: it names
// the network's planet and points at the TrackingNetwork.
//
// Its bytes follow the shared layout of network_layout.h: its virtual table
// has GetPlanet at index 15, and the TrackingNetwork pointer sits at +424
// from its base. Apart from the virtual-table pointer, no other byte of that
// layout is ever non-zero.

#ifndef KORVANE_TRACKNET_NETWORK_CONTEXT_H
#define KORVANE_TRACKNET_NETWORK_CONTEXT_H

#include "OrbiterAPI.h"
#include "tracknet/network_layout.h"
#include "tracknet/tracking_network.h"

namespace tracknet {

class NetworkContext final {
public:
    // REQUIRES: network outlives the context.
    explicit NetworkContext(TrackingNetwork *network);

    NetworkContext(const NetworkContext &) = delete;
    NetworkContext &operator=(const NetworkContext &) = delete;

    // Virtual indices 0 to 14: keep GetPlanet at index 15; they do nothing.
    virtual void reservedSlot0();
    virtual void reservedSlot1();
    virtual void reservedSlot2();
    virtual void reservedSlot3();
    virtual void reservedSlot4();
    virtual void reservedSlot5();
    virtual void reservedSlot6();
    virtual void reservedSlot7();
    virtual void reservedSlot8();
    virtual void reservedSlot9();
    virtual void reservedSlot10();
    virtual void reservedSlot11();
    virtual void reservedSlot12();
    virtual void reservedSlot13();
    virtual void reservedSlot14();

    // Virtual index 15. The planet the network stands on: the host object
    // named "Earth" (null if the host has none).
    virtual OBJHANDLE GetPlanet();

    TrackingNetwork *network() const;

private:
    // The shared bytes from the base; the first data member, so that it
    // starts right after the virtual-table pointer and covers every offset.
    unsigned char layout_[kContextLayoutEnd];
};

static_assert(kContextNetworkOffset >= sizeof(void *), "fields must lie past the virtual-table pointer");
static_assert(sizeof(NetworkContext) >= sizeof(void *) + kContextLayoutEnd, "the object must hold the layout");

} // namespace tracknet

#endif // KORVANE_TRACKNET_NETWORK_CONTEXT_H
