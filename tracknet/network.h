// The reference tracking network as a whole, for the headless simulator and
// its preview: it owns the TrackingNetwork and the NetworkContext that
// buildings are handed, puts the network's stations and satellites into the
// world, and hands the network over to the buildings.
//
// The buildings keep the context pointer without owning it, so a Network
// must outlive every building it was handed to (InstallOnLoad arranges that
// by tying it to the simulator).

#ifndef KORVANE_TRACKNET_NETWORK_H
#define KORVANE_TRACKNET_NETWORK_H

#include <memory>

#include "tracknet/network_context.h"
#include "tracknet/tracking_network.h"

namespace tracknet {

class Network {
public:
    // A switched-on network without nodes; populate() gives it its nodes.
    static std::unique_ptr<Network> Create();

    Network(const Network &) = delete;
    Network &operator=(const Network &) = delete;

    // The pointer handed to buildings: the NetworkContext. Stable for the
    // life of this object.
    void *context();
    TrackingNetwork &trackingNetwork() { return network_; }
    const TrackingNetwork &trackingNetwork() const { return network_; }

    void setEnabled(bool enabled) { network_.setEnabled(enabled); }
    bool enabled() const { return network_.enabled(); }

    // Creates the stations, relays, deep-space complexes and the relay
    // terminal as objects of the headless world and makes them the node
    // lists. Meant for after every scenario load: a world that was reset has
    // lost the previous objects, while one that still holds them all keeps
    // them (nothing is created twice).
    void populate();

    // Sends the context to every building of the world: clbkGeneric(0,
    // kHandOverMessageParam, context()) on each vessel of class "Korvane"
    // whose interface is a VESSEL3 or newer.
    void handOver();

private:
    Network();

    // Every node and the relay terminal is still one of this network's
    // objects in the world.
    bool nodesInWorld() const;

    TrackingNetwork network_;
    NetworkContext context_; // points at network_
};

} // namespace tracknet

#endif // KORVANE_TRACKNET_NETWORK_H
