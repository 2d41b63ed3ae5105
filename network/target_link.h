// The building's link to its target, asked of the tracking network on each
// redraw of the map screen.

#ifndef KORVANE_NETWORK_TARGET_LINK_H
#define KORVANE_NETWORK_TARGET_LINK_H

class Korvane;

namespace korvane {

// A network is attached and reports itself enabled.
bool NetworkShown(const Korvane &building);

// REQUIRES: NetworkShown(building). With a valid target, runs the network's
// link query into the link fields and stores its result in linkUp; without
// one, linkUp becomes false and the network is not asked.
void RefreshTargetLink(Korvane &building);

} // namespace korvane

#endif // KORVANE_NETWORK_TARGET_LINK_H
