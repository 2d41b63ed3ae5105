// The boundary to another module's tracking network.
//
// That module hands the building a pointer to its network context. The
// building never owns it; it reads the context and the network object at
// fixed byte offsets and calls two of their virtual methods. Only this file
// and its source know the layout:
//
//   context:  virtual method 15 GetPlanet; +424 pointer to the network
//   network:  virtual method 1 QueryLink; +12 stations, +24 relays,
//             +36 deep-space stations (pointers to node records);
//             +136 relay count, +140 deep-space count, +144 station count
//             (uint32); +149 enabled (byte)
//   node:     88 bytes; +32 longitude, +40 latitude (double, degrees);
//             +80 object handle
//
// Pointers take the platform's size; the fields are not aligned, so they are
// read byte-wise (memcpy). Pointers and counts are trusted.

#ifndef KORVANE_NETWORK_TRACKING_NETWORK_H
#define KORVANE_NETWORK_TRACKING_NETWORK_H

#include <cstdint>

#include "OrbiterAPI.h"

namespace korvane {

// The three node lists, numbered by the link type of their nodes.
enum class NodeList { Stations = 1, Relays = 2, DeepSpace = 3 };

struct NetworkNode {
    double longitudeDeg;
    double latitudeDeg;
    OBJHANDLE object;
};

// REQUIRES for all: context is a network context handed over by the network
// module (non-null).
bool NetworkEnabled(const void *context);
OBJHANDLE NetworkPlanet(void *context);
uint32_t NetworkNodeCount(const void *context, NodeList list);
// REQUIRES: index < NetworkNodeCount(context, list).
NetworkNode NetworkNodeAt(const void *context, NodeList list, uint32_t index);
// Asks the network for the link to target; the out-fields are the network's.
bool QueryNetworkLink(void *context, OBJHANDLE target, OBJHANDLE *node, int32_t *type, double *lag,
                      double *strength);

} // namespace korvane

#endif // KORVANE_NETWORK_TRACKING_NETWORK_H
