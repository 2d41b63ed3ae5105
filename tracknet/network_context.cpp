#include "tracknet/network_context.h"

#include <cstring>

namespace tracknet {

NetworkContext::NetworkContext(TrackingNetwork *network)
{
    // Every shared byte that no field claims stays zero.
    std::memset(layout_, 0, sizeof(layout_));
    WriteField(this, kContextNetworkOffset, network);
}

void NetworkContext::reservedSlot0() {}
void NetworkContext::reservedSlot1() {}
void NetworkContext::reservedSlot2() {}
void NetworkContext::reservedSlot3() {}
void NetworkContext::reservedSlot4() {}
void NetworkContext::reservedSlot5() {}
void NetworkContext::reservedSlot6() {}
void NetworkContext::reservedSlot7() {}
void NetworkContext::reservedSlot8() {}
void NetworkContext::reservedSlot9() {}
void NetworkContext::reservedSlot10() {}
void NetworkContext::reservedSlot11() {}
void NetworkContext::reservedSlot12() {}
void NetworkContext::reservedSlot13() {}
void NetworkContext::reservedSlot14() {}

OBJHANDLE NetworkContext::GetPlanet()
{
    char name[] = "Earth";
    return oapiGetObjectByName(name);
}

TrackingNetwork *NetworkContext::network() const
{
    return ReadField<TrackingNetwork *>(this, kContextNetworkOffset);
}

} // namespace tracknet
