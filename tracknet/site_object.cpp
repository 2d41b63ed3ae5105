#include "tracknet/site_object.h"

#include <utility>

#include "headless/frames.h"
#include "headless/vecmath.h"

namespace tracknet {

namespace {

// A ground station's antenna field, and a relay satellite with its solar
// arrays spread (about 17 m across, 2.2 t).
constexpr double kGroundSiteSizeMetres = 100.0;
constexpr double kRelaySizeMetres = 17.0;
constexpr double kRelayMassKg = 2200.0;

} // namespace

std::unique_ptr<SiteObject> SiteObject::GroundSite(std::string name, double lonDeg, double latDeg)
{
    double radius = headless::World::instance().earth()->size();
    return std::unique_ptr<SiteObject>(
        new SiteObject(std::move(name), OBJTP_SURFBASE, lonDeg, latDeg, radius, kGroundSiteSizeMetres, 0.0));
}

std::unique_ptr<SiteObject> SiteObject::GeostationaryRelay(std::string name, double lonDeg)
{
    return std::unique_ptr<SiteObject>(new SiteObject(std::move(name), OBJTP_GENERIC, lonDeg, 0.0,
                                                      kGeostationaryRadiusMetres, kRelaySizeMetres, kRelayMassKg));
}

SiteObject::SiteObject(std::string name, int type, double lonDeg, double latDeg, double radiusMetres,
                       double sizeMetres, double massKg)
    : headless::Object(std::move(name), type), lonDeg_(lonDeg), latDeg_(latDeg), radiusMetres_(radiusMetres),
      sizeMetres_(sizeMetres), massKg_(massKg)
{
}

VECTOR3 SiteObject::globalPos() const
{
    const headless::World &world = headless::World::instance();
    const headless::Planet *earth = world.earth();
    VECTOR3 rel = headless::RelativeFromEquatorial(headless::DegreesToRadians(lonDeg_),
                                                   headless::DegreesToRadians(latDeg_), radiusMetres_,
                                                   earth->orientation(world.mjd()));
    return earth->globalPos() + rel;
}

VECTOR3 SiteObject::globalVel() const
{
    const headless::World &world = headless::World::instance();
    const headless::Planet *earth = world.earth();
    VECTOR3 rel = globalPos() - earth->globalPos();
    return earth->globalVel() + headless::CorotationVelocity(rel, earth->angularVelocity(world.mjd()));
}

} // namespace tracknet
