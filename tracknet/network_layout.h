// The bytes of the tracking network that other modules read.
//
// A building that follows a spacecraft finds the network through one pointer
// (the NetworkContext) and reads it by byte offset from each object's base;
// the offsets are the same on every platform. Pointer and handle fields take
// the platform's pointer size and are not aligned, so they are only ever
// copied in and out with memcpy. The first bytes of each object hold its
// virtual-table pointer; every field lies past it.

#ifndef KORVANE_TRACKNET_NETWORK_LAYOUT_H
#define KORVANE_TRACKNET_NETWORK_LAYOUT_H

#include <cstddef>
#include <cstring>

namespace tracknet {

// --- NetworkContext ----------------------------------------------------------
// Virtual index 15: OBJHANDLE GetPlanet().
constexpr size_t kContextNetworkOffset = 424; // TrackingNetwork *
constexpr size_t kContextLayoutEnd = kContextNetworkOffset + sizeof(void *);

// --- TrackingNetwork ---------------------------------------------------------
// Virtual index 1: bool QueryLink(OBJHANDLE target, OBJHANDLE *node,
// int *type, double *lag, double *strength).
constexpr size_t kStationsOffset = 12;          // NodeRecord *, first tracking station
constexpr size_t kRelaysOffset = 24;            // NodeRecord *, first relay satellite
constexpr size_t kDeepSpaceOffset = 36;         // NodeRecord *, first deep-space station
constexpr size_t kRelayCountOffset = 136;       // uint32_t
constexpr size_t kDeepSpaceCountOffset = 140;   // uint32_t
constexpr size_t kStationCountOffset = 144;     // uint32_t
constexpr size_t kEnabledOffset = 149;          // byte, 0 = switched off
constexpr size_t kNetworkLayoutEnd = kEnabledOffset + 1;

// --- NetworkNode -------------------------------------------------------------
constexpr size_t kNodeRecordBytes = 88;
constexpr size_t kNodeLonOffset = 32;    // double, degrees east
constexpr size_t kNodeLatOffset = 40;    // double, degrees north
constexpr size_t kNodeObjectOffset = 80; // OBJHANDLE of the station or satellite
static_assert(kNodeObjectOffset + sizeof(void *) <= kNodeRecordBytes, "the node handle must fit the record");

// The kind of node that carries a link, as QueryLink reports it.
enum LinkType : int {
    kNoLink = 0,
    kStationLink = 1,   // a node of the stations list
    kRelayLink = 2,     // a node of the relays list
    kDeepSpaceLink = 3, // a node of the deep-space list
};

// The message parameter of the clbkGeneric call that hands a building the
// network's context.
constexpr int kHandOverMessageParam = 1;

// Copies value into the bytes of the object at base + offset.
template <typename T>
void WriteField(void *base, size_t offset, const T &value)
{
    std::memcpy(static_cast<unsigned char *>(base) + offset, &value, sizeof(T));
}

// The value stored in the bytes of the object at base + offset.
template <typename T>
T ReadField(const void *base, size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const unsigned char *>(base) + offset, sizeof(T));
    return value;
}

} // namespace tracknet

#endif // KORVANE_TRACKNET_NETWORK_LAYOUT_H
