#include "headless/world.h"

#include <algorithm>
#include <cmath>

#include "headless/frames.h"
#include "headless/vecmath.h"
#include "headless/vessel.h"

namespace headless {

namespace {
constexpr double kJ2000Mjd = 51544.5;

// Earth: mean radius, mass and sidereal rotation period.
constexpr double kEarthRadiusMetres = 6371010.0;
constexpr double kEarthMassKg = 5.973698968e24;
constexpr double kEarthSiderealPeriodSeconds = 86164.1;

// Moon: mean radius and mass; a circular orbit of mean distance 384400 km,
// rotating once per orbit (bound rotation).
constexpr double kMoonRadiusMetres = 1737400.0;
constexpr double kMoonMassKg = 7.346e22;
constexpr double kMoonOrbitRadiusMetres = 384400000.0;
constexpr double kMoonLongitudeAtJ2000 = 3.81; // rad, roughly the Moon's right ascension then
} // namespace

Object::Object(std::string name, int type) : name_(std::move(name)), type_(type) {}
Object::~Object() = default;

Planet::Planet(std::string name, double radiusMetres, double massKg, double siderealPeriodSeconds)
    : Object(std::move(name), OBJTP_PLANET), radius_(radiusMetres), mass_(massKg),
      siderealPeriod_(siderealPeriodSeconds)
{
}

void Planet::setCircularOrbit(const Planet *parent, double orbitRadiusMetres, double longitudeAtJ2000)
{
    parent_ = parent;
    orbitRadius_ = orbitRadiusMetres;
    orbitLongitudeAtJ2000_ = longitudeAtJ2000;
}

double Planet::mu() const { return kGravitationalConstant * mass_; }

double Planet::rotationAngle(double mjd) const { return PlanetRotationAngle(mjd, siderealPeriod_); }

namespace {
// Angular rate (rad/s) and current longitude of a circular orbit of radius r
// about a body of gravitational parameter mu.
double OrbitRate(double mu, double r) { return std::sqrt(mu / (r * r * r)); }
} // namespace

VECTOR3 Planet::globalPos() const
{
    if (!parent_)
        return _V(0, 0, 0);
    double t = (World::instance().mjd() - kJ2000Mjd) * kSecondsPerDay;
    double lng = orbitLongitudeAtJ2000_ + OrbitRate(parent_->mu() + mu(), orbitRadius_) * t;
    return parent_->globalPos() + _V(orbitRadius_ * std::cos(lng), orbitRadius_ * std::sin(lng), 0.0);
}

VECTOR3 Planet::globalVel() const
{
    if (!parent_)
        return _V(0, 0, 0);
    double t = (World::instance().mjd() - kJ2000Mjd) * kSecondsPerDay;
    double rate = OrbitRate(parent_->mu() + mu(), orbitRadius_);
    double lng = orbitLongitudeAtJ2000_ + rate * t;
    double speed = rate * orbitRadius_;
    return parent_->globalVel() + _V(-speed * std::sin(lng), speed * std::cos(lng), 0.0);
}

World &World::instance()
{
    static World world;
    return world;
}

World::World() { reset(); }

void World::reset()
{
    vessels_.clear();
    live_.clear();
    objects_.clear();
    simTime_ = 0.0;
    simStep_ = 0.0;
    startMjd_ = kJ2000Mjd;

    auto earth = std::make_unique<Planet>("Earth", kEarthRadiusMetres, kEarthMassKg, kEarthSiderealPeriodSeconds);
    earth_ = earth.get();
    registerObject(earth.get());
    objects_.push_back(std::move(earth));

    double moonPeriod = kTwoPi / OrbitRate(earth_->mu() + kGravitationalConstant * kMoonMassKg, kMoonOrbitRadiusMetres);
    auto moon = std::make_unique<Planet>("Moon", kMoonRadiusMetres, kMoonMassKg, moonPeriod);
    moon->setCircularOrbit(earth_, kMoonOrbitRadiusMetres, kMoonLongitudeAtJ2000);
    moon_ = moon.get();
    registerObject(moon.get());
    objects_.push_back(std::move(moon));
}

void World::registerObject(Object *o) { live_.insert(o); }
void World::unregisterObject(Object *o) { live_.erase(o); }

Object *World::objectFromHandle(OBJHANDLE h) const
{
    if (!h || live_.find(h) == live_.end())
        return nullptr;
    return static_cast<Object *>(h);
}

Vessel *World::vesselFromHandle(OBJHANDLE h) const
{
    Object *o = objectFromHandle(h);
    return o && o->type() == OBJTP_VESSEL ? static_cast<Vessel *>(o) : nullptr;
}

Object *World::objectByName(const std::string &name) const
{
    for (const auto &o : objects_)
        if (o->name() == name)
            return o.get();
    return nullptr;
}

Vessel *World::vesselByName(const std::string &name) const
{
    for (Vessel *v : vessels_)
        if (v->name() == name)
            return v;
    return nullptr;
}

Vessel *World::addVessel(std::unique_ptr<Vessel> v)
{
    Vessel *raw = v.get();
    registerObject(raw);
    vessels_.push_back(raw);
    objects_.push_back(std::move(v));
    return raw;
}

Object *World::addObject(std::unique_ptr<Object> o)
{
    Object *raw = o.get();
    registerObject(raw);
    objects_.push_back(std::move(o));
    return raw;
}

void World::deleteVessel(Vessel *v)
{
    if (!objectFromHandle(v))
        return;
    unregisterObject(v);
    vessels_.erase(std::remove(vessels_.begin(), vessels_.end(), v), vessels_.end());
    objects_.erase(std::remove_if(objects_.begin(), objects_.end(),
                                  [v](const std::unique_ptr<Object> &o) { return o.get() == v; }),
                   objects_.end());
}

void World::advance(double dt)
{
    double t0 = simTime_;
    for (Vessel *v : vessels_)
        v->advance(t0, dt);
    simTime_ += dt;
    simStep_ = dt;
}

} // namespace headless
