// Unit conversions and pixel rounding used by the screens and the map.

#ifndef KORVANE_SCREENS_UNITS_H
#define KORVANE_SCREENS_UNITS_H

namespace korvane {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kCelsiusOffsetKelvin = 273.15;

constexpr double RadiansToDegrees(double rad) { return rad * kDegreesPerRadian; }

// A screen coordinate: truncated toward zero. Values no screen could show
// (beyond a billion pixels, or not a number) are held at the limit (NaN at
// 0) instead of overflowing the integer.
inline int ToPixel(double v)
{
    constexpr double kLimit = 1e9;
    if (!(v == v))
        return 0;
    if (v > kLimit)
        return static_cast<int>(kLimit);
    if (v < -kLimit)
        return -static_cast<int>(kLimit);
    return static_cast<int>(v);
}

} // namespace korvane

#endif // KORVANE_SCREENS_UNITS_H
