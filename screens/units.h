// Unit conversions used by the screens and the map.

#ifndef KORVANE_SCREENS_UNITS_H
#define KORVANE_SCREENS_UNITS_H

namespace korvane {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kCelsiusOffsetKelvin = 273.15;

constexpr double RadiansToDegrees(double rad) { return rad * kDegreesPerRadian; }

} // namespace korvane

#endif // KORVANE_SCREENS_UNITS_H
