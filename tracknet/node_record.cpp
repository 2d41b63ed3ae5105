#include "tracknet/node_record.h"

namespace tracknet {

NodeRecord::NodeRecord(OBJHANDLE object, double lonDeg, double latDeg) : bytes_{}
{
    WriteField(bytes_, kNodeLonOffset, lonDeg);
    WriteField(bytes_, kNodeLatOffset, latDeg);
    WriteField(bytes_, kNodeObjectOffset, object);
}

OBJHANDLE NodeRecord::object() const { return ReadField<OBJHANDLE>(bytes_, kNodeObjectOffset); }
double NodeRecord::lonDeg() const { return ReadField<double>(bytes_, kNodeLonOffset); }
double NodeRecord::latDeg() const { return ReadField<double>(bytes_, kNodeLatOffset); }

} // namespace tracknet
