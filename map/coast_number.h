// The numbers of a coastline file: the integer of a count line, the two
// coordinates of a point line, and a coordinate's conversion to the stored
// integer units.
//
// A point line is read exactly as sscanf(line, "%lf %lf", &lon, &lat) reads
// it with the GNU C library in the "C" locale, lon and lat starting at 0:
// the same characters are consumed and the same doubles, bit for bit, are
// stored. The module follows these rules on every platform, so a damaged
// line reads the same everywhere. The common form ("-12.345 67.89") is
// converted in one pass without the C library; longer decimals and
// exponents go through std::from_chars, and the rare forms (hexadecimal,
// "inf", "nan", an exponent without digits, values out of range) through
// strtod. The fast conversions always take '.' as the decimal point, as the
// file does, while strtod and sscanf take the locale's: they agree because
// the module runs in the "C" locale, which the simulator never changes.

#ifndef KORVANE_MAP_COAST_NUMBER_H
#define KORVANE_MAP_COAST_NUMBER_H

#include <cstdint>

namespace korvane {

// One point of a coastline file as written there, in degrees.
struct CoastPoint {
    double longitudeDeg = 0.0; // -180..180 in a sound file
    double latitudeDeg = 0.0;  // -90..90 in a sound file
};

// The integer of a count line (the header, the polyline count, a point
// count) read like strtol(line, nullptr, 10): leading white space skipped, an
// optional sign, decimal digits up to the first other character; no digits
// read as 0. A value beyond the range of int32 is held at INT32_MAX or
// INT32_MIN instead of wrapping.
// REQUIRES: line is NUL-terminated.
int32_t ReadCountLine(const char *line);

// The two numbers of a point line, longitude first, by the rules of
// "%lf %lf" (see above). A number that cannot be read leaves its coordinate
// 0, and a failed longitude leaves the latitude 0 too; text after the
// latitude is ignored.
// REQUIRES: line is NUL-terminated.
CoastPoint ReadPointLine(const char *line);

// trunc(unitsPerDegree x degrees) as int32, truncated toward zero. Products
// beyond the range of int32 (only a damaged file has them: 1e400, "inf") are
// held at INT32_MAX or INT32_MIN, and "nan" gives 0, so that no value of the
// file makes the conversion undefined.
int32_t ToStoredUnits(double degrees, double unitsPerDegree);

} // namespace korvane

#endif // KORVANE_MAP_COAST_NUMBER_H
