#include "map/coastlines.h"

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <utility>

#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

#include "map/coastline_reader.h"
#include "module/korvane.h"
#include "screens/units.h"

namespace korvane {

namespace {

constexpr size_t kDirectoryChars = 260; // the working directory, with its NUL
constexpr size_t kPathChars = 256;      // the coastline file's path, with its NUL

// The coastlines are always the Earth's, whatever body the building is on.
constexpr char kCoastlinePlanet[] = "Earth";

// The map spans longitudes -180..180 and latitudes 90..-90 from its origin.
constexpr double kMapWestEdgeDeg = 180.0;
constexpr double kMapNorthEdgeDeg = 90.0;

// Writes the coastline file's path under the working directory into path.
// False if the working directory cannot be had or the path does not fit:
// a cut path would name some other file, so it is not opened at all.
bool CoastlinePath(char *path, size_t size)
{
    char directory[kDirectoryChars];
#ifdef _WIN32
    if (_getcwd(directory, static_cast<int>(sizeof(directory))) == nullptr)
        return false;
    const int length = std::snprintf(path, size, "%s\\Config\\%s\\Data\\coast.vec", directory, kCoastlinePlanet);
#else
    if (getcwd(directory, sizeof(directory)) == nullptr)
        return false;
    const int length = std::snprintf(path, size, "%s/Config/%s/Data/coast.vec", directory, kCoastlinePlanet);
#endif
    return length >= 0 && static_cast<size_t>(length) < size;
}

} // namespace

void loadCoastlines(Korvane &building)
{
    building.coastLoaded = true;
    char path[kPathChars];
    if (!CoastlinePath(path, sizeof(path)))
        return;
    try {
        // Binary: the reader drops the CR of a CR LF itself, on every platform.
        std::ifstream file(path, std::ios::binary);
        if (!file.is_open())
            return;
        building.coastAvailable = true;
        CoastlineData data = ReadCoastlines(file, building.coordScale);
        building.coastHeaderValue = data.headerValue;
        building.coastLineCount = static_cast<uint32_t>(data.source.size());
        building.coastSource = std::move(data.source);
        building.coastProjected = std::move(data.projected);
    } catch (...) {
        // Only opening the file can throw (no memory for its buffer): the
        // building goes on as if the file held nothing.
    }
}

void drawCoastlines(oapi::Sketchpad &skp, Korvane &building)
{
    skp.SetPen(building.penBlue);
    const double westEdge = kMapWestEdgeDeg * building.coordScale;   // stored units
    const double northEdge = kMapNorthEdgeDeg * building.coordScale; // stored units
    const double scaleX = building.mapScaleX; // pixels per stored unit
    const double scaleY = building.mapScaleY;
    const size_t polylines = building.coastSource.size();
    for (size_t i = 0; i < polylines; ++i) {
        const CoastPolyline &source = building.coastSource[i];
        CoastPolyline &projected = building.coastProjected[i];
        const int32_t count = source.pointCount;
        if (count <= 0)
            continue;
        for (int32_t j = 0; j < count; ++j) {
            projected.points[j].x = ToPixel((source.points[j].x + westEdge) * scaleX);
            projected.points[j].y = ToPixel(-((source.points[j].y - northEdge) * scaleY));
        }
        skp.Polyline(projected.points.get(), count);
    }
}

} // namespace korvane
