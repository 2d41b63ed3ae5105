#include "tracknet/tracking_network.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <cstring>
#include <utility>

#include "tracknet/link_model.h"

namespace tracknet {

namespace {

using Link = TrackingNetwork::Link;

// Earth as the network sees it through the host.
struct EarthFrame {
    VECTOR3 centre;      // global position, metres
    double radiusMetres; // mean radius
};

bool FindEarth(EarthFrame &earth)
{
    char name[] = "Earth";
    OBJHANDLE handle = oapiGetObjectByName(name);
    if (!handle)
        return false;
    oapiGetGlobalPos(handle, &earth.centre);
    earth.radiusMetres = oapiGetSize(handle);
    return true;
}

// Position of a live host object relative to Earth's centre; false if the
// handle names no live object.
bool RelativePosition(OBJHANDLE object, const EarthFrame &earth, VECTOR3 &rel)
{
    if (oapiGetObjectType(object) == OBJTP_INVALID)
        return false;
    VECTOR3 global;
    oapiGetGlobalPos(object, &global);
    rel = _V(global.x - earth.centre.x, global.y - earth.centre.y, global.z - earth.centre.z);
    return true;
}

// The ground site among nodes that sees target highest, at the minimum
// elevation or more; no link if none does.
Link HighestElevation(const std::vector<NodeRecord> &nodes, int type, double referenceRangeMetres,
                      const VECTOR3 &target, const EarthFrame &earth)
{
    Link best;
    double bestElevationDeg = kMinimumElevationDeg;
    for (const NodeRecord &node : nodes) {
        VECTOR3 site;
        if (!RelativePosition(node.object(), earth, site))
            continue;
        double elevationDeg = ElevationDeg(site, target);
        if (elevationDeg < bestElevationDeg)
            continue;
        double rangeMetres = DistanceMetres(site, target);
        bestElevationDeg = elevationDeg;
        best.node = node.object();
        best.type = type;
        best.lagSeconds = LightTimeSeconds(rangeMetres);
        best.strengthPercent = SignalStrengthPercent(rangeMetres, referenceRangeMetres, elevationDeg);
    }
    return best;
}

// The relay with the shortest path target -> relay -> terminal among those
// that see target and that the terminal sees; no link if there is none.
Link ShortestRelayPath(const std::vector<NodeRecord> &relays, OBJHANDLE terminal, const VECTOR3 &target,
                       const EarthFrame &earth)
{
    Link best;
    VECTOR3 ground;
    if (!RelativePosition(terminal, earth, ground))
        return best;
    double bestPathMetres = 0.0;
    for (const NodeRecord &relay : relays) {
        VECTOR3 satellite;
        if (!RelativePosition(relay.object(), earth, satellite))
            continue;
        double groundElevationDeg = ElevationDeg(ground, satellite);
        if (groundElevationDeg < kMinimumElevationDeg || !LineOfSightClear(target, satellite, earth.radiusMetres))
            continue;
        double spaceLegMetres = DistanceMetres(target, satellite);
        double pathMetres = spaceLegMetres + DistanceMetres(satellite, ground);
        if (best.type != kNoLink && pathMetres >= bestPathMetres)
            continue;
        bestPathMetres = pathMetres;
        best.node = relay.object();
        best.type = kRelayLink;
        best.lagSeconds = LightTimeSeconds(pathMetres);
        best.strengthPercent = SignalStrengthPercent(spaceLegMetres, kRelayReferenceRangeMetres, groundElevationDeg);
    }
    return best;
}

} // namespace

TrackingNetwork::TrackingNetwork()
{
    // Every shared byte that no field claims stays zero.
    std::memset(layout_, 0, sizeof(layout_));
    publishLists();
    setEnabled(true);
}

void TrackingNetwork::reservedSlot0() {}

bool TrackingNetwork::QueryLink(OBJHANDLE target, OBJHANDLE *node, int *type, double *lag, double *strength)
{
    Link link = linkFor(target);
    if (node)
        *node = link.node;
    if (type)
        *type = link.type;
    if (lag)
        *lag = link.lagSeconds;
    if (strength)
        *strength = link.strengthPercent;
    return link.type != kNoLink;
}

TrackingNetwork::Link TrackingNetwork::linkFor(OBJHANDLE target) const
{
    EarthFrame earth;
    VECTOR3 position;
    if (!enabled() || !FindEarth(earth) || !RelativePosition(target, earth, position))
        return Link();
    if (DistanceMetres(position, _V(0.0, 0.0, 0.0)) > kNearEarthLimitMetres)
        return HighestElevation(deepSpace_, kDeepSpaceLink, kDeepSpaceReferenceRangeMetres, position, earth);
    Link link = HighestElevation(stations_, kStationLink, kStationReferenceRangeMetres, position, earth);
    if (link.type == kNoLink)
        link = ShortestRelayPath(relays_, relayTerminal_, position, earth);
    return link;
}

void TrackingNetwork::setNodes(std::vector<NodeRecord> stations, std::vector<NodeRecord> relays,
                               std::vector<NodeRecord> deepSpace, OBJHANDLE relayTerminal)
{
    stations_ = std::move(stations);
    relays_ = std::move(relays);
    deepSpace_ = std::move(deepSpace);
    relayTerminal_ = relayTerminal;
    publishLists();
}

void TrackingNetwork::removeObject(OBJHANDLE object)
{
    auto isObject = [object](const NodeRecord &node) { return node.object() == object; };
    for (std::vector<NodeRecord> *list : {&stations_, &relays_, &deepSpace_})
        list->erase(std::remove_if(list->begin(), list->end(), isObject), list->end());
    if (relayTerminal_ == object)
        relayTerminal_ = nullptr;
    publishLists();
}

void TrackingNetwork::setEnabled(bool enabled)
{
    WriteField(this, kEnabledOffset, static_cast<unsigned char>(enabled ? 1 : 0));
}

bool TrackingNetwork::enabled() const { return ReadField<unsigned char>(this, kEnabledOffset) != 0; }

void TrackingNetwork::publishLists()
{
    WriteField(this, kStationsOffset, stations_.empty() ? nullptr : stations_.data());
    WriteField(this, kRelaysOffset, relays_.empty() ? nullptr : relays_.data());
    WriteField(this, kDeepSpaceOffset, deepSpace_.empty() ? nullptr : deepSpace_.data());
    WriteField(this, kRelayCountOffset, static_cast<uint32_t>(relays_.size()));
    WriteField(this, kDeepSpaceCountOffset, static_cast<uint32_t>(deepSpace_.size()));
    WriteField(this, kStationCountOffset, static_cast<uint32_t>(stations_.size()));
}

} // namespace tracknet
