// The tracking network as other modules see it: three lists of nodes
// (tracking stations, relay satellites, deep-space stations), an on/off
// switch, and the link query that picks the node carrying a spacecraft's
// link.
//
// The object's own bytes follow the shared layout of network_layout.h: its
// virtual table has QueryLink at index 1, and the list pointers, the counts
// and the switch sit at fixed offsets from its base. Apart from the
// virtual-table pointer, no other byte of that layout is ever non-zero.
//
// Link choice, for a target within kNearEarthLimitMetres of Earth's centre:
//  1. the tracking station that sees the target highest above its horizon,
//     at kMinimumElevationDeg or more;
//  2. failing that, among the relays that see the target (the line between
//     them misses Earth) and that the relay terminal sees at
//     kMinimumElevationDeg or more, the one with the shortest path
//     target -> relay -> terminal.
// For a target beyond that distance:
//  3. the deep-space station that sees the target highest, at
//     kMinimumElevationDeg or more.
// Nothing else carries a link. The lag is the one-way light time along the
// path (target to station, or target to relay to terminal); the strength
// follows SignalStrengthPercent with the range from the target to the node
// and the elevation at the ground end (the terminal's, for a relay).
//
// Only host functions (OrbiterAPI.h) are used to find where things are, and
// Earth is the object named "Earth", so the network works in any host.

#ifndef KORVANE_TRACKNET_TRACKING_NETWORK_H
#define KORVANE_TRACKNET_TRACKING_NETWORK_H

#include <vector>

#include "OrbiterAPI.h"
#include "tracknet/network_layout.h"
#include "tracknet/node_record.h"

namespace tracknet {

class TrackingNetwork final {
public:
    // The node carrying a link and the link's quality.
    struct Link {
        OBJHANDLE node = nullptr;     // the node's object; null without a link
        int type = kNoLink;           // LinkType
        double lagSeconds = 0.0;      // one-way light time
        double strengthPercent = 0.0; // 0..100
    };

    // An empty network, switched on.
    TrackingNetwork();

    TrackingNetwork(const TrackingNetwork &) = delete;
    TrackingNetwork &operator=(const TrackingNetwork &) = delete;

    // Virtual index 0: keeps QueryLink at index 1; does nothing.
    virtual void reservedSlot0();

    // Virtual index 1. Finds the node that carries target's link. On true,
    // *node is the node's object, *type its LinkType, *lag the one-way light
    // time (seconds) and *strength the link strength (percent, 0..100).
    // On false (no node sees the target, target is not a live object, or the
    // network is switched off) *node is null, *type kNoLink and *lag and
    // *strength 0. Null out-pointers are skipped.
    virtual bool QueryLink(OBJHANDLE target, OBJHANDLE *node, int *type, double *lag, double *strength);

    // The link QueryLink reports, as one value (type kNoLink when there is
    // none).
    Link linkFor(OBJHANDLE target) const;

    // Replaces the node lists and the relays' ground terminal (an object in
    // no list). Nodes are found by their handles at query time; a handle that
    // no longer names a live object is passed over.
    void setNodes(std::vector<NodeRecord> stations, std::vector<NodeRecord> relays,
                  std::vector<NodeRecord> deepSpace, OBJHANDLE relayTerminal);

    // Takes every record of object out of its list, and clears the relay
    // terminal if it is object: for a node whose host object is about to be
    // destroyed, so that no list ever names a dead handle.
    void removeObject(OBJHANDLE object);

    const std::vector<NodeRecord> &stations() const { return stations_; }
    const std::vector<NodeRecord> &relays() const { return relays_; }
    const std::vector<NodeRecord> &deepSpaceStations() const { return deepSpace_; }
    OBJHANDLE relayTerminal() const { return relayTerminal_; }

    // A switched-off network is neither shown nor queried by the buildings,
    // and answers every query with no link.
    void setEnabled(bool enabled);
    bool enabled() const;

private:
    // Writes the list pointers and counts into the shared bytes.
    void publishLists();

    // The shared bytes from the base; the first data member, so that it
    // starts right after the virtual-table pointer and covers every offset.
    unsigned char layout_[kNetworkLayoutEnd];
    std::vector<NodeRecord> stations_;
    std::vector<NodeRecord> relays_;
    std::vector<NodeRecord> deepSpace_;
    OBJHANDLE relayTerminal_ = nullptr; // White Sands, where relayed links come down
};

static_assert(kStationsOffset >= sizeof(void *), "fields must lie past the virtual-table pointer");
static_assert(sizeof(TrackingNetwork) >= sizeof(void *) + kNetworkLayoutEnd, "the object must hold the layout");

} // namespace tracknet

#endif // KORVANE_TRACKNET_TRACKING_NETWORK_H
