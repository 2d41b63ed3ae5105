// The tracking network's own objects (tracknet's TrackingNetwork,
// NetworkContext and node records, as the KorvaneNet plug-in builds them)
// read through the building's boundary (network/tracking_network.h): the
// two sides of the shared layout meeting, in the pointer size the program is
// built for. The host is a table of fixed objects: the four host functions
// that the network's objects call answer from it.

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "network/tracking_network.h"
#include "tracknet/network_context.h"
#include "tracknet/node_record.h"
#include "tracknet/tracking_network.h"

namespace {

struct StubObject {
    const char *name;
    int type;
    VECTOR3 position; // global, m
    double size;      // m
};

constexpr double kEarthRadius = 6371010.0;
// Earth at the origin; a station on its surface on the x axis, a second
// one, a relay, a deep-space complex, the relay terminal and a probe 400 km
// above the first station.
StubObject g_objects[] = {
    {"Earth", OBJTP_PLANET, {{0, 0, 0}}, kEarthRadius},
    {"Merritt-Island", OBJTP_VESSEL, {{kEarthRadius, 0, 0}}, 12.0},
    {"Bermuda", OBJTP_VESSEL, {{0, kEarthRadius, 0}}, 12.0},
    {"TDRS-East", OBJTP_VESSEL, {{0, 0, 42164e3}}, 12.0},
    {"Goldstone", OBJTP_VESSEL, {{0, 0, -kEarthRadius}}, 12.0},
    {"White-Sands", OBJTP_VESSEL, {{-kEarthRadius, 0, 0}}, 12.0},
    {"Probe", OBJTP_VESSEL, {{kEarthRadius + 400e3, 0, 0}}, 10.0},
};
enum { kEarth, kMerritt, kBermuda, kRelay, kGoldstone, kWhiteSands, kProbe };

OBJHANDLE Handle(int i) { return &g_objects[i]; }

const StubObject *Find(OBJHANDLE h)
{
    for (const StubObject &o : g_objects)
        if (&o == h)
            return &o;
    return nullptr;
}

} // namespace

OBJHANDLE oapiGetObjectByName(char *name)
{
    for (StubObject &o : g_objects)
        if (name && std::strcmp(o.name, name) == 0)
            return &o;
    return nullptr;
}

int oapiGetObjectType(OBJHANDLE hObj) { return Find(hObj) ? Find(hObj)->type : OBJTP_INVALID; }
void oapiGetGlobalPos(OBJHANDLE hObj, VECTOR3 *pos) { *pos = Find(hObj) ? Find(hObj)->position : _V(0, 0, 0); }
double oapiGetSize(OBJHANDLE hObj) { return Find(hObj) ? Find(hObj)->size : 0.0; }

namespace pluginside {

std::vector<std::string> RunPluginSideChecks()
{
    std::vector<std::string> failures;
    auto check = [&](bool ok, const std::string &what) {
        if (!ok)
            failures.push_back("plug-in side: " + what);
    };
    using korvane::NodeList;

    tracknet::TrackingNetwork network;
    tracknet::NetworkContext context(&network);
    network.setNodes({tracknet::NodeRecord(Handle(kMerritt), -80.6934, 28.5081),
                      tracknet::NodeRecord(Handle(kBermuda), -64.6580, 32.3513)},
                     {tracknet::NodeRecord(Handle(kRelay), -41.0, 0.0)},
                     {tracknet::NodeRecord(Handle(kGoldstone), -116.8900, 35.4267)}, Handle(kWhiteSands));
    void *ctx = &context;

    check(korvane::NetworkEnabled(ctx), "a new network reads as enabled (+149)");
    check(korvane::NetworkNodeCount(ctx, NodeList::Stations) == 2, "two stations at +144");
    check(korvane::NetworkNodeCount(ctx, NodeList::Relays) == 1, "one relay at +136");
    check(korvane::NetworkNodeCount(ctx, NodeList::DeepSpace) == 1, "one deep-space complex at +140");
    korvane::NetworkNode second = korvane::NetworkNodeAt(ctx, NodeList::Stations, 1);
    check(second.object == Handle(kBermuda) && second.longitudeDeg == -64.6580 && second.latitudeDeg == 32.3513,
          "the second station's record, 88 bytes after the first: object +80, longitude +32, latitude +40");
    korvane::NetworkNode relay = korvane::NetworkNodeAt(ctx, NodeList::Relays, 0);
    check(relay.object == Handle(kRelay) && relay.longitudeDeg == -41.0, "the relay's record through +24");
    check(korvane::NetworkNodeAt(ctx, NodeList::DeepSpace, 0).object == Handle(kGoldstone),
          "the deep-space record through +36");
    check(korvane::NetworkPlanet(ctx) == Handle(kEarth), "GetPlanet, virtual method 15 of the context, is Earth");

    OBJHANDLE node = nullptr;
    int32_t type = -1;
    double lag = -1.0, strength = -1.0;
    bool up = korvane::QueryNetworkLink(ctx, Handle(kProbe), &node, &type, &lag, &strength);
    check(up && node == Handle(kMerritt) && type == 1, "QueryLink, virtual method 1, links the station below");
    check(std::fabs(lag - 400e3 / 299792458.0) < 1e-12 && strength == 100.0,
          "the light time over 400 km, at full strength within the station's 1000 km");

    network.setEnabled(false);
    check(!korvane::NetworkEnabled(ctx) && !korvane::QueryNetworkLink(ctx, Handle(kProbe), &node, &type, &lag, &strength),
          "a switched-off network reads as disabled and links nothing");
    network.setEnabled(true);
    network.removeObject(Handle(kMerritt));
    check(korvane::NetworkNodeCount(ctx, NodeList::Stations) == 1 &&
              korvane::NetworkNodeAt(ctx, NodeList::Stations, 0).object == Handle(kBermuda),
          "a removed station leaves the published list");
    return failures;
}

} // namespace pluginside
