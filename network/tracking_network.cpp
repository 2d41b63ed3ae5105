#include "network/tracking_network.h"

#include <cstring>

namespace korvane {

namespace network_abi {

// The two objects as the network module's compiler lays out their virtual
// tables: the slots before the methods we call are never called, and there
// is no virtual destructor (it would take slots). They have external linkage
// on purpose: in an unnamed namespace the compiler would know that nothing
// implements them and could replace the virtual calls by the pure-virtual
// handler.
class ContextInterface {
public:
    virtual void slot0() = 0;
    virtual void slot1() = 0;
    virtual void slot2() = 0;
    virtual void slot3() = 0;
    virtual void slot4() = 0;
    virtual void slot5() = 0;
    virtual void slot6() = 0;
    virtual void slot7() = 0;
    virtual void slot8() = 0;
    virtual void slot9() = 0;
    virtual void slot10() = 0;
    virtual void slot11() = 0;
    virtual void slot12() = 0;
    virtual void slot13() = 0;
    virtual void slot14() = 0;
    virtual OBJHANDLE GetPlanet() = 0;
};

class NetworkInterface {
public:
    virtual void slot0() = 0;
    virtual bool QueryLink(OBJHANDLE target, OBJHANDLE *node, int *type, double *lag, double *strength) = 0;
};

} // namespace network_abi

namespace {

constexpr size_t kContextNetwork = 424;
constexpr size_t kStations = 12;
constexpr size_t kRelays = 24;
constexpr size_t kDeepSpace = 36;
constexpr size_t kRelayCount = 136;
constexpr size_t kDeepSpaceCount = 140;
constexpr size_t kStationCount = 144;
constexpr size_t kEnabled = 149;
constexpr size_t kNodeBytes = 88;
constexpr size_t kNodeLongitude = 32;
constexpr size_t kNodeLatitude = 40;
constexpr size_t kNodeObject = 80;

// The objects behind the pointer are of the network module's own classes,
// which the sanitizer's dynamic-type check cannot know: these calls are
// made through the layout, as designed, so that check is turned off for them.
#if defined(__GNUC__)
#define KORVANE_LAYOUT_CALL __attribute__((no_sanitize("vptr")))
#else
#define KORVANE_LAYOUT_CALL
#endif

template <typename T>
T ReadAt(const void *base, size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const unsigned char *>(base) + offset, sizeof(T));
    return value;
}

const void *NetworkOf(const void *context) { return ReadAt<const void *>(context, kContextNetwork); }

} // namespace

bool NetworkEnabled(const void *context) { return ReadAt<uint8_t>(NetworkOf(context), kEnabled) != 0; }

KORVANE_LAYOUT_CALL OBJHANDLE NetworkPlanet(void *context)
{
    return static_cast<network_abi::ContextInterface *>(context)->GetPlanet();
}

uint32_t NetworkNodeCount(const void *context, NodeList list)
{
    const void *network = NetworkOf(context);
    switch (list) {
    case NodeList::Stations:
        return ReadAt<uint32_t>(network, kStationCount);
    case NodeList::Relays:
        return ReadAt<uint32_t>(network, kRelayCount);
    case NodeList::DeepSpace:
        return ReadAt<uint32_t>(network, kDeepSpaceCount);
    }
    return 0;
}

NetworkNode NetworkNodeAt(const void *context, NodeList list, uint32_t index)
{
    const void *network = NetworkOf(context);
    size_t listOffset = list == NodeList::Stations ? kStations : list == NodeList::Relays ? kRelays : kDeepSpace;
    const unsigned char *first = ReadAt<const unsigned char *>(network, listOffset);
    const unsigned char *node = first + static_cast<size_t>(index) * kNodeBytes;
    return NetworkNode{ReadAt<double>(node, kNodeLongitude), ReadAt<double>(node, kNodeLatitude),
                       ReadAt<OBJHANDLE>(node, kNodeObject)};
}

KORVANE_LAYOUT_CALL bool QueryNetworkLink(void *context, OBJHANDLE target, OBJHANDLE *node, int32_t *type,
                                          double *lag, double *strength)
{
    void *network = ReadAt<void *>(context, kContextNetwork);
    return static_cast<network_abi::NetworkInterface *>(network)->QueryLink(target, node, type, lag, strength);
}

} // namespace korvane
