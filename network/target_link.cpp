#include "network/target_link.h"

#include "module/korvane.h"
#include "network/tracking_network.h"

namespace korvane {

bool NetworkShown(const Korvane &building) { return building.network && NetworkEnabled(building.network); }

void RefreshTargetLink(Korvane &building)
{
    if (!building.targetValid) {
        building.linkUp = false;
        return;
    }
    building.linkUp = QueryNetworkLink(building.network, building.targetHandle, &building.linkNode,
                                       &building.linkType, &building.linkLag, &building.linkStrength);
}

} // namespace korvane
