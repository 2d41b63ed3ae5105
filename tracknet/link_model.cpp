#include "tracknet/link_model.h"

#include <algorithm>
#include <cmath>

namespace tracknet {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegreesPerRadian = 180.0 / kPi;
// A ray that grazes the surface this closely counts as clear, so that a
// spacecraft landed exactly on the mean radius can still see the sky.
constexpr double kGrazingToleranceMetres = 1.0;

double RadiansToDegrees(double rad) { return rad * kDegreesPerRadian; }

VECTOR3 Difference(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x - b.x, a.y - b.y, a.z - b.z); }
double Dot(const VECTOR3 &a, const VECTOR3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(const VECTOR3 &a) { return std::sqrt(Dot(a, a)); }

} // namespace

double DistanceMetres(const VECTOR3 &a, const VECTOR3 &b) { return Length(Difference(a, b)); }

double ElevationDeg(const VECTOR3 &site, const VECTOR3 &target)
{
    VECTOR3 lineOfSight = Difference(target, site);
    double range = Length(lineOfSight);
    double siteRadius = Length(site);
    if (range == 0.0 || siteRadius == 0.0)
        return 90.0;
    double sine = Dot(lineOfSight, site) / (range * siteRadius);
    return RadiansToDegrees(std::asin(std::clamp(sine, -1.0, 1.0)));
}

bool LineOfSightClear(const VECTOR3 &a, const VECTOR3 &b, double earthRadiusMetres)
{
    // Closest approach to the centre of the points a + u (b - a), 0 <= u <= 1.
    VECTOR3 ab = Difference(b, a);
    double abSquared = Dot(ab, ab);
    double u = abSquared > 0.0 ? std::clamp(-Dot(a, ab) / abSquared, 0.0, 1.0) : 0.0;
    VECTOR3 closest = _V(a.x + u * ab.x, a.y + u * ab.y, a.z + u * ab.z);
    return Length(closest) >= earthRadiusMetres - kGrazingToleranceMetres;
}

double SignalStrengthPercent(double rangeMetres, double referenceRangeMetres, double groundElevationDeg)
{
    double rangeFactor = 1.0;
    if (rangeMetres > referenceRangeMetres) {
        double ratio = referenceRangeMetres / rangeMetres;
        rangeFactor = ratio * ratio;
    }
    double elevationFactor = std::clamp(groundElevationDeg / kFullStrengthElevationDeg, 0.0, 1.0);
    return 100.0 * rangeFactor * elevationFactor;
}

double LightTimeSeconds(double pathMetres) { return pathMetres / kSpeedOfLightMetresPerSecond; }

} // namespace tracknet
