// The places of the network's nodes: the near-Earth tracking stations of the
// manned spaceflight network, the three deep-space complexes, the
// geostationary relays and the relays' ground terminal.
//
// The relays sit where the terminal at White Sands sees them. Over the
// Indian Ocean a low orbit therefore has neither a station nor a relay in
// view: the gap in coverage the early relay system had there.

#ifndef KORVANE_TRACKNET_SITE_CATALOGUE_H
#define KORVANE_TRACKNET_SITE_CATALOGUE_H

#include <vector>

namespace tracknet {

struct SiteEntry {
    // The node vessel's name: words joined by hyphens, so that no ship line
    // of a saved scenario holds a blank.
    const char *name;
    double latDeg;    // north positive; 0 for a relay
    double lonDeg;    // east positive; a relay's sub-satellite longitude
};

// In the order of the network's node lists.
const std::vector<SiteEntry> &TrackingStationSites();
const std::vector<SiteEntry> &DeepSpaceSites();
const std::vector<SiteEntry> &RelaySites();
// Where relayed links come down; not a node of any list.
const SiteEntry &RelayTerminalSite();

} // namespace tracknet

#endif // KORVANE_TRACKNET_SITE_CATALOGUE_H
