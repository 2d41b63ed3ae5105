#include "tracknet/network.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "tracknet/site_catalogue.h"
#include "tracknet/site_vessels.h"

namespace tracknet {

namespace {

void Log(const char *format, const char *name)
{
    char line[256];
    std::snprintf(line, sizeof(line), format, name);
    oapiWriteLog(line);
}

} // namespace

std::unique_ptr<Network> Network::Create() { return std::unique_ptr<Network>(new Network()); }

Network::Network() : network_(), context_(&network_) {}

void *Network::context() { return &context_; }

OBJHANDLE Network::siteVessel(const char *name, const VESSELSTATUS2 &status)
{
    SiteLookup found = FindSite(name);
    if (found.site)
        return found.site;
    if (found.nameTaken) {
        Log("KorvaneNet: another vessel is named %s: that node is left out", name);
        return nullptr;
    }
    OBJHANDLE created = CreateSite(name, status);
    if (!created) {
        Log("KorvaneNet: the simulator made no vessel %s: that node is left out", name);
        return nullptr;
    }
    created_.push_back(created);
    return created;
}

void Network::attachNodes()
{
    char earthName[] = "Earth";
    OBJHANDLE earth = oapiGetObjectByName(earthName);
    if (attached_ || !earth)
        return;
    attached_ = true;
    auto landed = [&](const std::vector<SiteEntry> &sites) {
        std::vector<NodeRecord> records;
        for (const SiteEntry &site : sites)
            if (OBJHANDLE h = siteVessel(site.name, LandedSiteStatus(earth, site.lonDeg, site.latDeg)))
                records.emplace_back(h, site.lonDeg, site.latDeg);
        return records;
    };
    std::vector<NodeRecord> stations = landed(TrackingStationSites());
    std::vector<NodeRecord> relays;
    for (const SiteEntry &site : RelaySites())
        if (OBJHANDLE h = siteVessel(site.name, GeostationaryStatus(earth, site.lonDeg)))
            relays.emplace_back(h, site.lonDeg, site.latDeg);
    std::vector<NodeRecord> deepSpace = landed(DeepSpaceSites());
    const SiteEntry &terminal = RelayTerminalSite();
    OBJHANDLE terminalVessel = siteVessel(terminal.name, LandedSiteStatus(earth, terminal.lonDeg, terminal.latDeg));
    network_.setNodes(std::move(stations), std::move(relays), std::move(deepSpace), terminalVessel);
}

void Network::forgetVessel(OBJHANDLE vessel)
{
    network_.removeObject(vessel);
    created_.erase(std::remove(created_.begin(), created_.end(), vessel), created_.end());
}

void Network::releaseNodes()
{
    network_.setNodes({}, {}, {}, nullptr);
    for (OBJHANDLE h : created_)
        oapiDeleteVessel(h);
    created_.clear();
    attached_ = false;
}

} // namespace tracknet
