#include "headless/world.h"

#include <algorithm>
#include <fstream>

#include "headless/frames.h"
#include "headless/orbit.h"
#include "headless/vecmath.h"
#include "headless/vessel.h"

namespace headless {

Object::Object(std::string name, int type) : name_(std::move(name)), type_(type) {}
Object::~Object() = default;
MATRIX3 Object::rotationMatrix() const { return IdentityMatrix(); }

Planet::Planet(std::string name, const PlanetConfig &config) : Object(std::move(name), OBJTP_PLANET), config_(config)
{
}

void Planet::configure(const PlanetConfig &config) { config_ = config; }

double Planet::mu() const { return kGravitationalConstant * config_.massKg; }

namespace {
// The state of a planet on the orbit of its configuration relative to its
// parent, at the world's current date.
StateVector OrbitState(const PlanetConfig &config, const Planet &parent, double ownMu)
{
    return StateFromElements(config.orbit, parent.mu() + ownMu, config.orbitEpochMjd, World::instance().mjd());
}
} // namespace

VECTOR3 Planet::globalPos() const
{
    if (!parent_ || !config_.hasOrbit)
        return _V(0, 0, 0);
    return parent_->globalPos() + OrbitState(config_, *parent_, mu()).r;
}

VECTOR3 Planet::globalVel() const
{
    if (!parent_ || !config_.hasOrbit)
        return _V(0, 0, 0);
    return parent_->globalVel() + OrbitState(config_, *parent_, mu()).v;
}

MATRIX3 Planet::rotationMatrix() const { return ToSimulatorFrame(orientation(World::instance().mjd())); }

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
    byName_.clear();
    objects_.clear();
    simTime_ = 0.0;
    simStep_ = 0.0;
    startMjd_ = 51544.5;

    earth_ = static_cast<Planet *>(add(std::make_unique<Planet>("Earth", BuiltInEarth())));
    moon_ = static_cast<Planet *>(add(std::make_unique<Planet>("Moon", BuiltInMoon())));
    moon_->setParent(earth_);
}

void World::configurePlanets(const std::string &root, std::vector<std::string> *messages)
{
    struct Body {
        Planet *planet;
        PlanetConfig builtIn;
    };
    for (const Body &body : {Body{earth_, BuiltInEarth()}, Body{moon_, BuiltInMoon()}}) {
        std::string path = "Config/" + body.planet->name() + ".cfg";
        std::ifstream in(root + "/" + path);
        PlanetConfig config = body.builtIn;
        if (!in) {
            if (messages)
                messages->push_back(path + " not found: built-in figures used");
        } else {
            std::vector<std::string> problems;
            ReadPlanetConfig(in, &config, &problems);
            if (messages)
                for (const std::string &p : problems)
                    messages->push_back(path + ": " + p);
        }
        body.planet->configure(config);
    }
}

std::string World::NameKey(const std::string &name)
{
    std::string key = name;
    for (char &c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}

Planet *World::planetByName(const std::string &name) const
{
    const std::string key = NameKey(name);
    for (Planet *p : {earth_, moon_})
        if (p && NameKey(p->name()) == key)
            return p;
    return nullptr;
}

Object *World::add(std::unique_ptr<Object> o)
{
    Object *raw = o.get();
    live_.insert(raw);
    byName_.emplace(NameKey(raw->name()), raw);
    objects_.push_back(std::move(o));
    return raw;
}

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
    auto it = byName_.find(NameKey(name));
    return it == byName_.end() ? nullptr : it->second;
}

Vessel *World::vesselByName(const std::string &name) const
{
    Object *o = objectByName(name);
    if (o && o->type() == OBJTP_VESSEL)
        return static_cast<Vessel *>(o);
    if (!o)
        return nullptr;
    // A vessel that shares its name with an object added before it.
    const std::string key = NameKey(name);
    for (Vessel *v : vessels_)
        if (NameKey(v->name()) == key)
            return v;
    return nullptr;
}

Vessel *World::addVessel(std::unique_ptr<Vessel> v)
{
    Vessel *raw = v.get();
    add(std::move(v));
    vessels_.push_back(raw);
    return raw;
}

Object *World::addObject(std::unique_ptr<Object> o) { return add(std::move(o)); }

void World::deleteVessel(Vessel *v)
{
    if (!objectFromHandle(v))
        return;
    live_.erase(v);
    vessels_.erase(std::remove(vessels_.begin(), vessels_.end(), v), vessels_.end());
    const std::string key = NameKey(v->name());
    auto named = byName_.find(key);
    bool wasNamed = named != byName_.end() && named->second == v;
    if (wasNamed)
        byName_.erase(named);
    objects_.erase(std::remove_if(objects_.begin(), objects_.end(),
                                  [v](const std::unique_ptr<Object> &o) { return o.get() == v; }),
                   objects_.end());
    if (wasNamed) {
        // The name passes to the next object that bears it, if any.
        for (const auto &o : objects_)
            if (NameKey(o->name()) == key) {
                byName_.emplace(key, o.get());
                break;
            }
    }
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
