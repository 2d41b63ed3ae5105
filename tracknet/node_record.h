// One entry of a node list as other modules read it: 88 bytes holding the
// node's place (longitude and latitude in degrees; the sub-satellite point for
// a relay) and the handle of the host object that stands for it. Records of a
// list lie back to back, so a std::vector<NodeRecord> is the list itself.

#ifndef KORVANE_TRACKNET_NODE_RECORD_H
#define KORVANE_TRACKNET_NODE_RECORD_H

#include "OrbiterAPI.h"
#include "tracknet/network_layout.h"

namespace tracknet {

class NodeRecord {
public:
    // Every byte not named here stays zero.
    NodeRecord(OBJHANDLE object, double lonDeg, double latDeg);

    OBJHANDLE object() const;
    double lonDeg() const;
    double latDeg() const;

private:
    unsigned char bytes_[kNodeRecordBytes];
};

static_assert(sizeof(NodeRecord) == kNodeRecordBytes, "records must lie back to back, 88 bytes apart");

} // namespace tracknet

#endif // KORVANE_TRACKNET_NODE_RECORD_H
