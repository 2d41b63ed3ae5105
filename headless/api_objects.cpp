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
        *pos = o ? o->globalPos() : _V(0, 0, 0);
}

void oapiGlobalToEqu(OBJHANDLE hObj, const VECTOR3 &glob, double *lng, double *lat, double *rad)
{
    auto *planet = dynamic_cast<headless::Planet *>(world().objectFromHandle(hObj));
    double lo = 0.0, la = 0.0, r = 0.0;
    if (planet)
        headless::EquatorialFromRelative(glob - planet->globalPos(), planet->rotationAngle(world().mjd()), lo, la, r);
    if (lng)
        *lng = lo;
    if (lat)
        *lat = la;
    if (rad)
        *rad = r;
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
    auto *planet = dynamic_cast<headless::Planet *>(world().objectFromHandle(hPlanet));
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
    *vel = o && r ? o->globalVel() - r->globalVel() : _V(0, 0, 0);
}

double oapiGetSimMJD() { return world().mjd(); }
double oapiGetSimStep() { return world().simStep(); }
double oapiGetSimTime() { return world().simTime(); }

