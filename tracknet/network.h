// The reference tracking network within a simulation session: it owns the
// TrackingNetwork and the NetworkContext that buildings are handed, and the
// vessels that stand for its nodes.
//
// Its nodes are the catalogue's sites (site_catalogue.h) as KorvaneSite
// vessels (site_vessels.h). attachNodes uses the ones the scenario holds
// (a saved session has them) and creates only the missing ones, so a save
// and a reload never double them; releaseNodes deletes exactly those it
// created. The buildings keep the context pointer without owning it: the
// Network must outlive every building that holds it, or hand them a null
// context first (network_module.h does).

#ifndef KORVANE_TRACKNET_NETWORK_H
#define KORVANE_TRACKNET_NETWORK_H

#include <memory>
#include <vector>

#include "OrbiterAPI.h"
#include "tracknet/network_context.h"
#include "tracknet/tracking_network.h"

namespace tracknet {

class Network {
public:
    // A switched-on network without nodes; attachNodes gives it its nodes.
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

    // Makes the node lists of the session's KorvaneSite vessels named as the
    // catalogue's sites, creating (oapiCreateVesselEx) those it lacks on
    // the planet named "Earth". A site whose name a vessel of another class
    // has is left out, with a line in the log. Nothing happens without that
    // planet, or when the nodes are attached already.
    void attachNodes();

    // For a vessel about to be destroyed: if it is a node or the relay
    // terminal, it leaves the lists (and is no longer this network's to
    // delete).
    void forgetVessel(OBJHANDLE vessel);

    // Deletes the vessels that attachNodes created (oapiDeleteVessel) and
    // empties the lists; those the scenario held stay.
    void releaseNodes();

    // The vessels attachNodes created and that still stand.
    const std::vector<OBJHANDLE> &createdVessels() const { return created_; }

private:
    Network();

    // The site's vessel: the scenario's, a new one, or null if it is left
    // out.
    OBJHANDLE siteVessel(const char *name, const VESSELSTATUS2 &status);

    TrackingNetwork network_;
    NetworkContext context_; // points at network_
    bool attached_ = false;
    std::vector<OBJHANDLE> created_;
};

} // namespace tracknet

#endif // KORVANE_TRACKNET_NETWORK_H
