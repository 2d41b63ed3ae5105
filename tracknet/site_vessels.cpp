#include "tracknet/site_vessels.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "VesselAPI.h"

namespace tracknet {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadiansPerDegree = kPi / 180.0;

double DegreesToRadians(double deg) { return deg * kRadiansPerDegree; }

VESSELSTATUS2 EmptyStatus(OBJHANDLE planet)
{
    VESSELSTATUS2 status;
    std::memset(&status, 0, sizeof(status));
    status.version = 2;
    status.rbody = planet;
    return status;
}

VECTOR3 Minus(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x - b.x, a.y - b.y, a.z - b.z); }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

double SynchronousOrbitRadius(double planetMassKg, double rotationPeriodSeconds)
{
    double meanMotionInverse = rotationPeriodSeconds / (2.0 * kPi); // s / rad
    return std::cbrt(kGravitationalConstant * planetMassKg * meanMotionInverse * meanMotionInverse);
}

VESSELSTATUS2 LandedSiteStatus(OBJHANDLE planet, double lonDeg, double latDeg)
{
    VESSELSTATUS2 status = EmptyStatus(planet);
    status.status = 1;
    status.surf_lng = DegreesToRadians(lonDeg);
    status.surf_lat = DegreesToRadians(latDeg);
    status.surf_hdg = 0.0;
    return status;
}

VESSELSTATUS2 GeostationaryStatus(OBJHANDLE planet, double lonDeg)
{
    VESSELSTATUS2 status = EmptyStatus(planet);
    double periodSeconds = oapiGetPlanetPeriod(planet);
    double radius = SynchronousOrbitRadius(oapiGetMass(planet), periodSeconds);
    double lon = DegreesToRadians(lonDeg);
    VECTOR3 centre, here, eastward;
    oapiGetGlobalPos(planet, &centre);
    oapiEquToGlobal(planet, lon, 0.0, radius, &here);
    // On the equator the derivative of the position by longitude is the
    // point a quarter turn further east; the planet turns at 2 pi / T.
    oapiEquToGlobal(planet, lon + 0.5 * kPi, 0.0, radius, &eastward);
    double omega = periodSeconds != 0.0 ? 2.0 * kPi / periodSeconds : 0.0;
    VECTOR3 ahead = Minus(eastward, centre);
    status.rpos = Minus(here, centre);
    status.rvel = _V(ahead.x * omega, ahead.y * omega, ahead.z * omega);
    return status;
}

bool SameClassName(const char *name, const char *want)
{
    if (!name || !want)
        return false;
    for (; *name && *want; ++name, ++want)
        if (LowerAscii(*name) != LowerAscii(*want))
            return false;
    return *name == *want;
}

SiteLookup FindSite(const char *name)
{
    SiteLookup found;
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%s", name);
    OBJHANDLE h = oapiGetVesselByName(buffer);
    if (!h)
        return found;
    VESSEL *v = oapiGetVesselInterface(h);
    if (v && SameClassName(v->GetClassName(), kSiteClassName))
        found.site = h;
    else
        found.nameTaken = true;
    return found;
}

OBJHANDLE CreateSite(const char *name, const VESSELSTATUS2 &status)
{
    return oapiCreateVesselEx(name, kSiteClassName, &status);
}

} // namespace tracknet
