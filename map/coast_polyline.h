// CoastPolyline: one coastline outline as integer points, either in stored
// units (thousandths of a degree) or in map pixels.

#ifndef KORVANE_MAP_COAST_POLYLINE_H
#define KORVANE_MAP_COAST_POLYLINE_H

#include <cstdint>
#include <memory>

#include "DrawAPI.h"

namespace korvane {

struct CoastPolyline {
    int32_t pointCount = 0;
    // x then y of each point; an IVECTOR2 so that it can be drawn as it is.
    std::unique_ptr<oapi::IVECTOR2[]> points;
};

} // namespace korvane

#endif // KORVANE_MAP_COAST_POLYLINE_H
