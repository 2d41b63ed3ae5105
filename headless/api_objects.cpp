// Host functions on objects, vessels and time.

#include <cmath>
#include <cstdio>
#include <cstring>

#include "OrbiterAPI.h"
#include "headless/frames.h"
#include "headless/vecmath.h"
#include "headless/vessel.h"
#include "headless/world.h"

using headless::World;

namespace {
World &world() { return World::instance(); }

headless::Planet *PlanetFromHandle(OBJHANDLE h) { return dynamic_cast<headless::Planet *>(world().objectFromHandle(h)); }

} // namespace

OBJHANDLE oapiGetVesselByName(char *name)
{
    if (!name)
        return nullptr;
    Vessel *v = world().vesselByName(name);
    return v ? v->handle() : nullptr;
}

bool oapiIsVessel(OBJHANDLE hVessel) { return world().vesselFromHandle(hVessel) != nullptr; }

VESSEL *oapiGetVesselInterface(OBJHANDLE hVessel)
{
    Vessel *v = world().vesselFromHandle(hVessel);
    return v ? v->iface : nullptr;
}

OBJHANDLE oapiGetObjectByName(char *name)
{
    if (!name)
        return nullptr;
    headless::Object *o = world().objectByName(name);
    return o ? o->handle() : nullptr;
}

int oapiGetObjectType(OBJHANDLE hObj)
{
    headless::Object *o = world().objectFromHandle(hObj);
    return o ? o->type() : OBJTP_INVALID;
}

void oapiGetObjectName(OBJHANDLE hObj, char *name, int n)
{
    if (!name || n <= 0)
        return;
    headless::Object *o = world().objectFromHandle(hObj);
    std::snprintf(name, static_cast<size_t>(n), "%s", o ? o->name().c_str() : "");
}

void oapiGetGlobalPos(OBJHANDLE hObj, VECTOR3 *pos)
{
    headless::Object *o = world().objectFromHandle(hObj);
    if (pos)
        *pos = o ? headless::ToSimulatorFrame(o->globalPos()) : _V(0, 0, 0);
}

// The equatorial coordinates of an object's local frame, as the simulator
// defines them for every object: its local y axis is the pole, longitude
// runs from local x towards local z. For a planet that is the planet-fixed
// frame.
void oapiGlobalToEqu(OBJHANDLE hObj, const VECTOR3 &glob, double *lng, double *lat, double *rad)
{
    headless::Object *o = world().objectFromHandle(hObj);
    double lo = 0.0, la = 0.0, r = 0.0;
    if (o) {
        VECTOR3 loc = headless::tmul(o->rotationMatrix(), glob - headless::ToSimulatorFrame(o->globalPos()));
        r = headless::length(loc);
        la = std::atan2(loc.y, std::hypot(loc.x, loc.z));
        lo = std::atan2(loc.z, loc.x);
    }
    if (lng)
        *lng = lo;
    if (lat)
        *lat = la;
    if (rad)
        *rad = r;
}

void oapiEquToGlobal(OBJHANDLE hObj, double lng, double lat, double rad, VECTOR3 *glob)
{
    if (!glob)
        return;
    headless::Object *o = world().objectFromHandle(hObj);
    if (!o) {
        *glob = _V(0, 0, 0);
        return;
    }
    double horizontal = rad * std::cos(lat);
    VECTOR3 loc = _V(horizontal * std::cos(lng), rad * std::sin(lat), horizontal * std::sin(lng));
    *glob = headless::mul(o->rotationMatrix(), loc) + headless::ToSimulatorFrame(o->globalPos());
}

void oapiGetRotationMatrix(OBJHANDLE hObj, MATRIX3 *mat)
{
    headless::Object *o = world().objectFromHandle(hObj);
    if (mat)
        *mat = o ? o->rotationMatrix() : headless::IdentityMatrix();
}

double oapiGetPlanetObliquity(OBJHANDLE hPlanet)
{
    headless::Planet *planet = PlanetFromHandle(hPlanet);
    return planet ? planet->obliquity() : 0.0;
}

void oapiGetPlanetObliquityMatrix(OBJHANDLE hPlanet, MATRIX3 *mat)
{
    headless::Planet *planet = PlanetFromHandle(hPlanet);
    if (mat)
        *mat = planet ? headless::ToSimulatorFrame(planet->equatorialOrientation(world().mjd()))
                      : headless::IdentityMatrix();
}

double oapiGetPlanetCurrentRotation(OBJHANDLE hPlanet)
{
    headless::Planet *planet = PlanetFromHandle(hPlanet);
    return planet ? planet->rotationAngle(world().mjd()) : 0.0;
}

double oapiGetSize(OBJHANDLE hObj)
{
    headless::Object *o = world().objectFromHandle(hObj);
    return o ? o->size() : 0.0;
}

double oapiGetMass(OBJHANDLE hObj)
{
    headless::Object *o = world().objectFromHandle(hObj);
    return o ? o->mass() : 0.0;
}

double oapiGetPlanetPeriod(OBJHANDLE hPlanet)
{
    headless::Planet *planet = PlanetFromHandle(hPlanet);
    return planet ? planet->siderealPeriod() : 0.0;
}

BOOL oapiGetAltitude(OBJHANDLE hVessel, double *alt) { return oapiGetAltitude(hVessel, ALTMODE_MEANRAD, alt); }

BOOL oapiGetAltitude(OBJHANDLE hVessel, AltitudeMode mode, double *alt)
{
    (void)mode; // a smooth sphere: ground and mean radius coincide
    Vessel *v = world().vesselFromHandle(hVessel);
    if (!v || !alt)
        return 0;
    *alt = v->altitudeMeanRadius();
    return 1;
}

void oapiGetRelativeVel(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *vel)
{
    headless::Object *o = world().objectFromHandle(hObj);
    headless::Object *r = world().objectFromHandle(hRef);
    if (!vel)
        return;
    *vel = o && r ? headless::ToSimulatorFrame(o->globalVel() - r->globalVel()) : _V(0, 0, 0);
}

double oapiGetSimMJD() { return world().mjd(); }
double oapiGetSimStep() { return world().simStep(); }
double oapiGetSimTime() { return world().simTime(); }

