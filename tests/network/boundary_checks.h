// Checks of the tracking-network boundary against network objects built here
// byte by byte, the way the network module lays them out: a virtual table at
// the start, then fields at fixed offsets. Shared by the test suite and the
// 32-bit check program, so the same checks run at both pointer sizes.

#ifndef KORVANE_TESTS_NETWORK_BOUNDARY_CHECKS_H
#define KORVANE_TESTS_NETWORK_BOUNDARY_CHECKS_H

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "network/tracking_network.h"

namespace boundarycheck {

inline void Put(void *base, size_t offset, const void *value, size_t size)
{
    std::memcpy(static_cast<unsigned char *>(base) + offset, value, size);
}
template <typename T>
void PutAt(void *base, size_t offset, T value)
{
    Put(base, offset, &value, sizeof(T));
}

// The network object: QueryLink is its second virtual method.
class FakeNetwork {
public:
    FakeNetwork() { std::memset(bytes, 0, sizeof(bytes)); }
    virtual void first() {}
    virtual bool QueryLink(OBJHANDLE target, OBJHANDLE *node, int *type, double *lag, double *strength)
    {
        ++calls;
        lastTarget = target;
        lastNode = node;
        lastType = type;
        lastLag = lag;
        lastStrength = strength;
        *node = answerNode;
        *type = answerType;
        *lag = answerLag;
        *strength = answerStrength;
        return answer;
    }
    unsigned char *base() { return reinterpret_cast<unsigned char *>(this); }

    unsigned char bytes[160]; // the fields, from just past the table pointer
    int calls = 0;
    OBJHANDLE lastTarget = nullptr;
    OBJHANDLE *lastNode = nullptr;
    int *lastType = nullptr;
    double *lastLag = nullptr, *lastStrength = nullptr;
    bool answer = false;
    OBJHANDLE answerNode = nullptr;
    int answerType = 0;
    double answerLag = 0.0, answerStrength = 0.0;
};

// The context object: GetPlanet is its sixteenth virtual method; the
// fifteen before it must never be called.
class FakeContext {
public:
    FakeContext() { std::memset(bytes, 0, sizeof(bytes)); }
    virtual void m0() { ++wrongCalls; }
    virtual void m1() { ++wrongCalls; }
    virtual void m2() { ++wrongCalls; }
    virtual void m3() { ++wrongCalls; }
    virtual void m4() { ++wrongCalls; }
    virtual void m5() { ++wrongCalls; }
    virtual void m6() { ++wrongCalls; }
    virtual void m7() { ++wrongCalls; }
    virtual void m8() { ++wrongCalls; }
    virtual void m9() { ++wrongCalls; }
    virtual void m10() { ++wrongCalls; }
    virtual void m11() { ++wrongCalls; }
    virtual void m12() { ++wrongCalls; }
    virtual void m13() { ++wrongCalls; }
    virtual void m14() { ++wrongCalls; }
    virtual OBJHANDLE GetPlanet()
    {
        ++planetCalls;
        return planet;
    }
    unsigned char *base() { return reinterpret_cast<unsigned char *>(this); }

    unsigned char bytes[440]; // covers +424 and the pointer there
    OBJHANDLE planet = nullptr;
    int planetCalls = 0;
    int wrongCalls = 0;
};

// A network with two stations, three relays and one deep-space station,
// each field holding a value found nowhere else.
struct Layout {
    FakeContext context;
    FakeNetwork network;
    unsigned char stations[2 * 88];
    unsigned char relays[3 * 88];
    unsigned char deepSpace[1 * 88];
    int objects[6];

    Layout()
    {
        std::memset(stations, 0xA5, sizeof(stations));
        std::memset(relays, 0xA5, sizeof(relays));
        std::memset(deepSpace, 0xA5, sizeof(deepSpace));
        PutAt<void *>(context.base(), 424, &network);
        PutAt<void *>(network.base(), 12, stations);
        PutAt<void *>(network.base(), 24, relays);
        PutAt<void *>(network.base(), 36, deepSpace);
        PutAt<uint32_t>(network.base(), 136, 3);
        PutAt<uint32_t>(network.base(), 140, 1);
        PutAt<uint32_t>(network.base(), 144, 2);
        // The enabled byte between neighbours that are not zero.
        PutAt<uint8_t>(network.base(), 148, 0xFF);
        PutAt<uint8_t>(network.base(), 149, 1);
        PutAt<uint8_t>(network.base(), 150, 0xFF);
        unsigned char *records[6] = {stations, stations + 88, relays, relays + 88, relays + 176, deepSpace};
        for (int i = 0; i < 6; ++i) {
            PutAt<double>(records[i], 32, -100.5 + i);
            PutAt<double>(records[i], 40, 10.25 * i);
            PutAt<OBJHANDLE>(records[i], 80, &objects[i]);
        }
    }
};

// Runs every check; returns a message per failure.
inline std::vector<std::string> RunBoundaryChecks()
{
    std::vector<std::string> failures;
    auto check = [&](bool ok, const std::string &what) {
        if (!ok)
            failures.push_back(what);
    };
    using korvane::NodeList;

    Layout layout;
    void *ctx = &layout.context;
    check(korvane::NetworkEnabled(ctx), "enabled byte 1 reads as enabled");
    PutAt<uint8_t>(layout.network.base(), 149, 0);
    check(!korvane::NetworkEnabled(ctx), "enabled byte 0 reads as disabled, whatever its neighbours hold");
    PutAt<uint8_t>(layout.network.base(), 149, 7);
    check(korvane::NetworkEnabled(ctx), "any non-zero enabled byte reads as enabled");

    check(korvane::NetworkNodeCount(ctx, NodeList::Stations) == 2, "station count at +144");
    check(korvane::NetworkNodeCount(ctx, NodeList::Relays) == 3, "relay count at +136");
    check(korvane::NetworkNodeCount(ctx, NodeList::DeepSpace) == 1, "deep-space count at +140");

    struct Expect {
        NodeList list;
        uint32_t index;
        int record;
    } const nodes[] = {{NodeList::Stations, 0, 0}, {NodeList::Stations, 1, 1}, {NodeList::Relays, 0, 2},
                       {NodeList::Relays, 2, 4},   {NodeList::DeepSpace, 0, 5}};
    for (const Expect &e : nodes) {
        korvane::NetworkNode n = korvane::NetworkNodeAt(ctx, e.list, e.index);
        std::ostringstream what;
        what << "node record " << e.record;
        check(n.longitudeDeg == -100.5 + e.record, what.str() + ": longitude at +32");
        check(n.latitudeDeg == 10.25 * e.record, what.str() + ": latitude at +40");
        check(n.object == &layout.objects[e.record], what.str() + ": object at +80");
    }

    int earth = 0;
    layout.context.planet = &earth;
    check(korvane::NetworkPlanet(ctx) == &earth, "GetPlanet is virtual method 15 of the context");
    check(layout.context.planetCalls == 1 && layout.context.wrongCalls == 0, "only GetPlanet was called");

    int target = 0, node = 0;
    OBJHANDLE linkNode = nullptr;
    int32_t linkType = -1;
    double linkLag = -1.0, linkStrength = -1.0;
    layout.network.answer = true;
    layout.network.answerNode = &node;
    layout.network.answerType = 2;
    layout.network.answerLag = 0.25;
    layout.network.answerStrength = 61.5;
    bool up = korvane::QueryNetworkLink(ctx, &target, &linkNode, &linkType, &linkLag, &linkStrength);
    check(up, "QueryLink's result is returned");
    check(layout.network.calls == 1, "QueryLink is virtual method 1 of the network");
    check(layout.network.lastTarget == &target, "QueryLink gets the target");
    check(layout.network.lastNode == &linkNode && layout.network.lastType == &linkType &&
              layout.network.lastLag == &linkLag && layout.network.lastStrength == &linkStrength,
          "QueryLink gets the caller's fields, in order node, type, lag, strength");
    check(linkNode == &node && linkType == 2 && linkLag == 0.25 && linkStrength == 61.5,
          "the network fills the fields");
    layout.network.answer = false;
    check(!korvane::QueryNetworkLink(ctx, &target, &linkNode, &linkType, &linkLag, &linkStrength),
          "a false answer is returned as false");
    return failures;
}

} // namespace boundarycheck

#endif // KORVANE_TESTS_NETWORK_BOUNDARY_CHECKS_H
