// The coastline file "coast.vec" read into integer polylines.
//
// The file is text, one item per line (a line ends at LF; a CR before it is
// not part of the line; a last line without a line end still counts):
//   1: a header integer, kept but not used;
//   2: N, the number of polylines;
//   then N times: m, a point count, followed by m point lines, each
//   "longitude latitude" in degrees.
// Counts are read by ReadCountLine and points by ReadPointLine
// (map/coast_number.h); a point is stored as trunc(k x degrees) with k the
// stored units per degree. Lines after the N-th polyline are ignored.
//
// The file may be damaged or hostile, and the reader reads it without
// trusting it:
//   - A line longer than kCoastLineMaxChars is read from its first
//     kCoastLineMaxChars characters; the rest of it is skipped.
//   - A negative polyline count or point count ends the reading.
//   - No count is trusted for an allocation: a polyline exists once its count
//     line has been read, and its points once their lines have been read, so
//     a file announcing billions costs only what its lines hold.
//   - A file that ends inside a polyline leaves that polyline with the points
//     read so far.
//   - If memory runs out, the reading ends with the polylines complete so far.

#ifndef KORVANE_MAP_COASTLINE_READER_H
#define KORVANE_MAP_COASTLINE_READER_H

#include <cstddef>
#include <cstdint>
#include <istream>
#include <vector>

#include "map/coast_polyline.h"

namespace korvane {

// Characters of a line that are read; the rest of a longer line is skipped.
constexpr size_t kCoastLineMaxChars = 255;

// What a coastline file holds, as read.
struct CoastlineData {
    int32_t headerValue = 0; // line 1; 0 if the file has no line
    // The polylines in file order, points in stored units (degrees x k).
    std::vector<CoastPolyline> source;
    // The same polylines, each with the same pointCount and a point array of
    // its own, all points (0, 0): room for the map's projection.
    std::vector<CoastPolyline> projected;
};

// Reads a coastline file from in, storing each coordinate as
// trunc(unitsPerDegree x degrees). Reads in large blocks up to the end of
// the stream or the first error. Never throws: what was read when an error
// occurs (memory, a stream that throws) is returned.
CoastlineData ReadCoastlines(std::istream &in, double unitsPerDegree) noexcept;

} // namespace korvane

#endif // KORVANE_MAP_COASTLINE_READER_H
