// The coastline reader: any bytes as the file's content. Both arrays must
// have the same shape, the projected points must be (0, 0), and the result
// must equal the plain sscanf reader's, whatever the file holds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "map/coastline_reader.h"
#include "map/reference_coast_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text(reinterpret_cast<const char *>(data), size);
    std::istringstream in(text);
    korvane::CoastlineData coast = korvane::ReadCoastlines(in, 1000.0);
    if (coast.source.size() != coast.projected.size())
        std::abort();
    for (size_t i = 0; i < coast.source.size(); ++i) {
        const korvane::CoastPolyline &s = coast.source[i], &p = coast.projected[i];
        if (s.pointCount != p.pointCount || s.pointCount < 0)
            std::abort();
        if (s.pointCount > 0 && (!s.points || !p.points || s.points.get() == p.points.get()))
            std::abort();
        for (int32_t j = 0; j < p.pointCount; ++j)
            if (p.points[j].x != 0 || p.points[j].y != 0)
                std::abort();
    }
    if (!(coastref::FromModule(coast) == coastref::ReadText(text, 1000.0)))
        std::abort();
    return 0;
}
