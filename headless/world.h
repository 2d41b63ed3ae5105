// The headless simulator's world: the objects it knows (planets and vessels),
// simulation time, and the handles through which modules see them.
//
// Handles are the objects' addresses. A handle is only ever turned back into
// an object through the registry (objectFromHandle, a hash lookup), so a
// stale or foreign handle is answered with null instead of being
// dereferenced.
//
// The solar system of the stand-in is Earth, at the origin of the global
// frame, and the Moon on its orbit about Earth; their figures come from
// Config/Earth.cfg and Config/Moon.cfg (planet_config.h). Positions and
// velocities are in the internal frame of frames.h.

#ifndef KORVANE_HEADLESS_WORLD_H
#define KORVANE_HEADLESS_WORLD_H

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "OrbiterAPI.h"
#include "headless/planet_config.h"

class Vessel;

namespace headless {

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

    // Position (m) and velocity (m/s) in the internal frame at the world's
    // current time.
    virtual VECTOR3 globalPos() const = 0;
    virtual VECTOR3 globalVel() const = 0;

    // The rotation from the object's own frame to the global frame at the
    // world's current time, in the simulator's form (both frames
    // left-handed, as oapiGetRotationMatrix gives it); identity unless the
    // object turns.
    virtual MATRIX3 rotationMatrix() const;

private:
    std::string name_;
    int type_;
};

// A spherical, rotating planet, either at the origin of the global frame or
// on an orbit of another planet.
class Planet : public Object {
public:
    Planet(std::string name, const PlanetConfig &config);

    // Takes new figures (size, mass, rotation, orbit).
    void configure(const PlanetConfig &config);
    // The planet the orbit of the configuration is about; null: the planet
    // rests at the origin.
    void setParent(const Planet *parent) { parent_ = parent; }

    double size() const override { return config_.radiusMetres; }
    double mass() const override { return config_.massKg; }
    double mu() const; // G M, m^3/s^2
    const PlanetRotation &rotation() const { return config_.rotation; }
    double siderealPeriod() const { return config_.rotation.siderealPeriodSeconds; }
    double obliquity() const { return config_.rotation.obliquityRad; }
    // The rotation model of frames.h at date mjd.
    double rotationAngle(double mjd) const { return RotationAngle(config_.rotation, mjd); }
    MATRIX3 equatorialOrientation(double mjd) const { return EquatorialOrientation(config_.rotation, mjd); }
    MATRIX3 orientation(double mjd) const { return PlanetOrientation(config_.rotation, mjd); }
    VECTOR3 angularVelocity(double mjd) const { return PlanetAngularVelocity(config_.rotation, mjd); }

    VECTOR3 globalPos() const override;
    VECTOR3 globalVel() const override;
    MATRIX3 rotationMatrix() const override;

private:
    PlanetConfig config_;
    const Planet *parent_ = nullptr;
};

// The registry of objects and the simulation clock. There is one world per
// process, as there is one simulation in the host.
class World {
public:
    static World &instance();

    // Removes every object and resets the clock; Earth and Moon are created
    // again with the built-in figures.
    void reset();
    // Gives Earth and Moon the figures of Config/Earth.cfg and Config/Moon.cfg
    // under root. A missing file or a damaged key keeps the built-in figures;
    // every such case is described in *messages (when not null).
    void configurePlanets(const std::string &root, std::vector<std::string> *messages);

    Planet *earth() const { return earth_; }
    Planet *moon() const { return moon_; }
    // Null unless name is a planet's name.
    Planet *planetByName(const std::string &name) const;

    // Null unless the handle names a live object (or vessel).
    Object *objectFromHandle(OBJHANDLE h) const;
    Vessel *vesselFromHandle(OBJHANDLE h) const;
    // The first object (vessel) added under that name that is still alive.
    // Names are compared ignoring the case of letters, as the simulator
    // compares them ("iss" finds "ISS").
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
    Object *add(std::unique_ptr<Object> o);

    std::vector<std::unique_ptr<Object>> objects_;
    std::vector<Vessel *> vessels_;
    std::unordered_set<const void *> live_;
    // A name as the lookups compare it: ASCII letters folded to lower case.
    static std::string NameKey(const std::string &name);

    std::unordered_map<std::string, Object *> byName_; // the first live object of each name key
    Planet *earth_ = nullptr;
    Planet *moon_ = nullptr;
    double startMjd_ = 51544.5;
    double simTime_ = 0.0;
    double simStep_ = 0.0;
};

} // namespace headless

#endif // KORVANE_HEADLESS_WORLD_H
