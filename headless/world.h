// The headless simulator's world: the objects it knows (planets and vessels),
// simulation time, and the handles through which modules see them.
//
// Handles are the objects' addresses. A handle is only ever turned back into
// an object through the registry (ObjectFromHandle), so a stale or foreign
// handle is answered with null instead of being dereferenced.

#ifndef KORVANE_HEADLESS_WORLD_H
#define KORVANE_HEADLESS_WORLD_H

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "OrbiterAPI.h"

class Vessel;

namespace headless {

class Planet;

// Anything with a name and a place in the global frame.
class Object {
public:
    Object(std::string name, int type);
    virtual ~Object();

    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;

    const std::string &name() const { return name_; }
    int type() const { return type_; }
    OBJHANDLE handle() { return static_cast<OBJHANDLE>(this); }

    // Mean radius (m) and mass (kg).
    virtual double size() const = 0;
    virtual double mass() const = 0;

    // Position (m) and velocity (m/s) in the global frame at the world's
    // current time.
    virtual VECTOR3 globalPos() const = 0;
    virtual VECTOR3 globalVel() const = 0;

private:
    std::string name_;
    int type_;
};

// A spherical, rotating planet, either at the origin of the global frame or
// on a circular orbit of another planet.
class Planet : public Object {
public:
    Planet(std::string name, double radiusMetres, double massKg, double siderealPeriodSeconds);

    // Places the planet on a circular, equatorial orbit of parent, with the
    // given orbit radius (m) and its longitude in the global frame (rad) at
    // MJD 51544.5 (J2000).
    void setCircularOrbit(const Planet *parent, double orbitRadiusMetres, double longitudeAtJ2000);

    double size() const override { return radius_; }
    double mass() const override { return mass_; }
    double mu() const; // G M, m^3/s^2
    double siderealPeriod() const { return siderealPeriod_; }
    double rotationAngle(double mjd) const;
    VECTOR3 globalPos() const override;
    VECTOR3 globalVel() const override;

private:
    double radius_;
    double mass_;
    double siderealPeriod_;
    const Planet *parent_ = nullptr;
    double orbitRadius_ = 0.0;
    double orbitLongitudeAtJ2000_ = 0.0;
};

// The registry of objects and the simulation clock. There is one world per
// process, as there is one simulation in the host.
class World {
public:
    static World &instance();

    // Removes every object and resets the clock; Earth and Moon are created
    // again.
    void reset();

    Planet *earth() const { return earth_; }
    Planet *moon() const { return moon_; }

    // Null unless the handle names a live object (or vessel).
    Object *objectFromHandle(OBJHANDLE h) const;
    Vessel *vesselFromHandle(OBJHANDLE h) const;
    Object *objectByName(const std::string &name) const;
    Vessel *vesselByName(const std::string &name) const;
    const std::vector<Vessel *> &vessels() const { return vessels_; }

    Vessel *addVessel(std::unique_ptr<Vessel> v);
    // Adds an object that is neither planet nor vessel (a ground site, a
    // satellite of another module's making); it lives until reset() and is
    // not saved with the scenario.
    Object *addObject(std::unique_ptr<Object> o);
    // Removes and destroys the vessel (its module interface must already have
    // been released by the caller).
    void deleteVessel(Vessel *v);

    double simTime() const { return simTime_; }
    double simStep() const { return simStep_; }
    double mjd() const { return startMjd_ + simTime_ / 86400.0; }
    void setStartMjd(double mjd) { startMjd_ = mjd; }
    double startMjd() const { return startMjd_; }

    // Advances the clock by dt seconds and moves every vessel.
    void advance(double dt);

private:
    World();
    void registerObject(Object *o);
    void unregisterObject(Object *o);

    std::vector<std::unique_ptr<Object>> objects_;
    std::vector<Vessel *> vessels_;
    std::unordered_set<const void *> live_;
    Planet *earth_ = nullptr;
    Planet *moon_ = nullptr;
    double startMjd_ = 51544.5;
    double simTime_ = 0.0;
    double simStep_ = 0.0;
};

} // namespace headless

#endif // KORVANE_HEADLESS_WORLD_H
