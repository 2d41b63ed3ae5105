#include "tracknet/network.h"

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "VesselAPI.h"
#include "headless/vessel.h"
#include "headless/world.h"
#include "tracknet/site_catalogue.h"
#include "tracknet/site_object.h"

namespace tracknet {

namespace {

constexpr char kBuildingClassName[] = "Korvane";
// Buildings take the message through VESSEL3::clbkGeneric.
constexpr int kGenericMessageInterfaceVersion = 3;

OBJHANDLE AddToWorld(std::unique_ptr<SiteObject> site)
{
    return headless::World::instance().addObject(std::move(site))->handle();
}

std::vector<NodeRecord> AddGroundSites(const std::vector<SiteEntry> &sites)
{
    std::vector<NodeRecord> records;
    for (const SiteEntry &site : sites)
        records.emplace_back(AddToWorld(SiteObject::GroundSite(site.name, site.lonDeg, site.latDeg)), site.lonDeg,
                             site.latDeg);
    return records;
}

std::vector<NodeRecord> AddRelays(const std::vector<SiteEntry> &sites)
{
    std::vector<NodeRecord> records;
    for (const SiteEntry &site : sites)
        records.emplace_back(AddToWorld(SiteObject::GeostationaryRelay(site.name, site.lonDeg)), site.lonDeg,
                             site.latDeg);
    return records;
}

} // namespace

std::unique_ptr<Network> Network::Create() { return std::unique_ptr<Network>(new Network()); }

Network::Network() : network_(), context_(&network_) {}

void *Network::context() { return &context_; }

void Network::populate()
{
    if (nodesInWorld())
        return;
    std::vector<NodeRecord> stations = AddGroundSites(TrackingStationSites());
    std::vector<NodeRecord> relays = AddRelays(RelaySites());
    std::vector<NodeRecord> deepSpace = AddGroundSites(DeepSpaceSites());
    const SiteEntry &terminal = RelayTerminalSite();
    OBJHANDLE terminalHandle = AddToWorld(SiteObject::GroundSite(terminal.name, terminal.lonDeg, terminal.latDeg));
    network_.setNodes(std::move(stations), std::move(relays), std::move(deepSpace), terminalHandle);
}

bool Network::nodesInWorld() const
{
    const headless::World &world = headless::World::instance();
    auto isSite = [&world](OBJHANDLE h) { return dynamic_cast<SiteObject *>(world.objectFromHandle(h)) != nullptr; };
    if (!isSite(network_.relayTerminal()))
        return false;
    for (const std::vector<NodeRecord> *list :
         {&network_.stations(), &network_.relays(), &network_.deepSpaceStations()})
        for (const NodeRecord &node : *list)
            if (!isSite(node.object()))
                return false;
    return true;
}

void Network::handOver()
{
    for (Vessel *v : headless::World::instance().vessels()) {
        if (v->className() != kBuildingClassName || v->interfaceVersion < kGenericMessageInterfaceVersion || !v->iface)
            continue;
        static_cast<VESSEL3 *>(v->iface)->clbkGeneric(0, kHandOverMessageParam, context());
    }
}

} // namespace tracknet
