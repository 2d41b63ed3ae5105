#include "headless/vessel.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <strings.h>

#include "headless/attitude.h"
#include "headless/frames.h"
#include "headless/meshes.h"
#include "headless/messages.h"
#include "headless/scenario.h"
#include "headless/vecmath.h"
#include "headless/vessel_config.h"

using headless::DegreesToRadians;
using headless::RadiansToDegrees;

namespace {

// The size of a vessel that neither its module nor its class gives one.
constexpr double kDefaultSizeMetres = 10.0;

// Tank fills written on one PRPLEVEL line.
constexpr size_t kFillsPerLine = 32;

// The interface of a vessel that no module defines.
class GenericVessel final : public VESSEL3 {
public:
    explicit GenericVessel(OBJHANDLE h) : VESSEL3(h, 1) {}
};

// Reads up to n doubles after the keyword; returns how many were read.
int ReadNumbers(const char *rest, double *out, int n)
{
    std::istringstream in(rest);
    int count = 0;
    while (count < n && (in >> out[count]))
        ++count;
    return count;
}

bool KeyIs(const char *line, const char *key, const char **rest)
{
    size_t n = std::strlen(key);
    if (strncasecmp(line, key, n) != 0)
        return false;
    if (line[n] != '\0' && line[n] != ' ' && line[n] != '\t')
        return false;
    *rest = line + n;
    return true;
}

std::string Format(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char *fmt, ...)
{
    char buf[512];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buf, sizeof(buf), fmt, args);
    va_end(args);
    return buf;
}

// Three components written so that they read back to the same doubles.
std::string FormatExact(const VECTOR3 &v) { return Format("%.17g %.17g %.17g", v.x, v.y, v.z); }

// "<tank>:<level> ..." of a PRPLEVEL line: fills (0..1) of tanks by index.
// False, changing nothing, unless every entry is a tank index and a number.
bool ReadFillLevels(const char *rest, std::vector<std::pair<size_t, double>> &levels)
{
    std::istringstream in(rest);
    std::string entry;
    while (in >> entry) {
        size_t colon = entry.find(':');
        if (colon == std::string::npos || colon == 0)
            return false;
        char *end = nullptr;
        unsigned long index = std::strtoul(entry.c_str(), &end, 10);
        if (end != entry.c_str() + colon || entry[0] == '-')
            return false;
        const char *levelText = entry.c_str() + colon + 1;
        double level = std::strtod(levelText, &end);
        if (end == levelText || *end != '\0' || !std::isfinite(level))
            return false;
        levels.emplace_back(static_cast<size_t>(index), std::fmin(1.0, std::fmax(0.0, level)));
    }
    return !levels.empty();
}

} // namespace

Vessel::Vessel(std::string name, std::string className)
    : headless::Object(std::move(name), OBJTP_VESSEL), rotation(headless::IdentityMatrix()),
      className_(std::move(className))
{
    ref = headless::World::instance().earth();
}

Vessel::~Vessel()
{
    if (ownsIface_)
        delete static_cast<GenericVessel *>(iface);
}

void Vessel::makeGenericInterface()
{
    iface = new GenericVessel(handle());
    ownsIface_ = true;
}

void Vessel::applyClass(const headless::VesselClassConfig &cls)
{
    if (cls.hasEmptyMass)
        emptyMassKg = cls.emptyMassKg;
    if (cls.hasSize)
        classSizeMetres_ = cls.sizeMetres;
    for (double capacity : cls.tankCapacitiesKg)
        if (!tanks.add(capacity, capacity))
            break;
    classTanks_ = tanks.size();
    if (cls.hasMainEngine) {
        mainThrustNewton = cls.mainThrustNewton;
        mainIspMetresPerSecond = cls.mainIspMetresPerSecond;
    }
    if (!cls.meshName.empty())
        meshes.push_back(MeshEntry{oapiLoadMeshGlobal(cls.meshName.c_str()), _V(0, 0, 0), MESHVIS_EXTERNAL});
    focusable = cls.enableFocus;
}

double Vessel::size() const
{
    if (clipRadiusMetres > 0.0)
        return clipRadiusMetres;
    return classSizeMetres_ > 0.0 ? classSizeMetres_ : kDefaultSizeMetres;
}

double Vessel::mass() const { return emptyMassKg + propellantMass(); }

VECTOR3 Vessel::relativePos() const
{
    if (status == Status::Landed)
        return headless::RelativeFromEquatorial(landedLonRad, landedLatRad, ref->size(),
                                                ref->orientation(headless::World::instance().mjd()));
    return orbitState.r;
}

VECTOR3 Vessel::relativeVel() const
{
    if (status == Status::Landed)
        return headless::CorotationVelocity(relativePos(), ref->angularVelocity(headless::World::instance().mjd()));
    return orbitState.v;
}

VECTOR3 Vessel::globalPos() const { return ref->globalPos() + relativePos(); }
VECTOR3 Vessel::globalVel() const { return ref->globalVel() + relativeVel(); }

VECTOR3 Vessel::airspeedVector() const
{
    VECTOR3 r = relativePos();
    return relativeVel() - headless::CorotationVelocity(r, ref->angularVelocity(headless::World::instance().mjd()));
}

double Vessel::altitudeMeanRadius() const { return headless::length(relativePos()) - ref->size(); }

MATRIX3 Vessel::globalRotation() const
{
    if (status == Status::Orbiting)
        return rotation;
    // Standing upright: +y along the local vertical, +z towards the heading.
    VECTOR3 north, east, up;
    headless::LocalHorizon(relativePos(), ref->orientation(headless::World::instance().mjd()), north, east, up);
    VECTOR3 forward = north * std::cos(headingRad) + east * std::sin(headingRad);
    return headless::RotationOfAxes(forward, up);
}

double Vessel::burnLevelAt(double t) const
{
    if (mainThrustNewton <= 0.0 || mainIspMetresPerSecond <= 0.0 || propellantMass() <= 0.0)
        return 0.0;
    for (const Burn &b : burns)
        if (t >= b.startSeconds && t < b.startSeconds + b.durationSeconds)
            return std::fmin(1.0, std::fmax(0.0, b.level));
    return 0.0;
}

void Vessel::advance(double simt, double dt)
{
    if (dt <= 0.0)
        return;
    if (status == Status::Orbiting) {
        // Split the step at burn boundaries so that a burn acts exactly for
        // its own window, whatever the step length.
        std::vector<double> cuts{simt, simt + dt};
        for (const Burn &b : burns)
            for (double edge : {b.startSeconds, b.startSeconds + b.durationSeconds})
                if (edge > simt && edge < simt + dt)
                    cuts.push_back(edge);
        std::sort(cuts.begin(), cuts.end());
        double mu = ref->mu();
        for (size_t k = 0; k + 1 < cuts.size(); ++k) {
            double t0 = cuts[k];
            double span = cuts[k + 1] - t0;
            if (span <= 0.0)
                continue;
            double level = burnLevelAt(t0);
            if (level > 0.0) {
                double thrust = level * mainThrustNewton;
                double flow = thrust / mainIspMetresPerSecond; // kg/s
                double burnTime = std::fmin(span, propellantMass() / flow);
                orbitState = headless::PropagateWithThrust(orbitState, mu, thrust / mass(), burnTime);
                tanks.drain(flow * burnTime);
                if (burnTime < span)
                    orbitState = headless::PropagateKepler(orbitState, mu, span - burnTime);
            } else {
                orbitState = headless::PropagateKepler(orbitState, mu, span);
            }
        }
        if (headless::length(angularVelRad) > 0.0) {
            rotation = headless::IntegrateRotation(rotation, angularVelRad, dt);
            arotAsRead_ = false;
        }
    }
}

double Vessel::mainLevel() const
{
    return status == Status::Orbiting ? burnLevelAt(headless::World::instance().simTime()) : 0.0;
}

void Vessel::placeAt(double lonRad, double latRad)
{
    landedLonRad = lonRad;
    landedLatRad = latRad;
}

void Vessel::applyStatus(const VESSELSTATUS2 &s)
{
    if (headless::Planet *planet = dynamic_cast<headless::Planet *>(headless::World::instance().objectFromHandle(s.rbody)))
        ref = planet;
    if (s.status == 1) {
        status = Status::Landed;
        placeAt(s.surf_lng, s.surf_lat);
        headingRad = s.surf_hdg;
    } else {
        status = Status::Orbiting;
        orbitState.r = headless::FromSimulatorFrame(s.rpos);
        orbitState.v = headless::FromSimulatorFrame(s.rvel);
        hasRpos_ = hasRvel_ = true;
        hasElements_ = false;
        rotation = headless::RotationFromEuler(s.arot);
        arotAsRead_ = false;
        angularVelRad = s.vrot;
    }
    if (s.flag & VS_FUELRESET)
        for (size_t i = 0; i < tanks.size(); ++i)
            tanks[i].massKg = 0.0;
    if ((s.flag & VS_FUELLIST) && s.fuel)
        for (DWORD k = 0; k < s.nfuel; ++k) {
            const VESSELSTATUS2::FUELSPEC &f = s.fuel[k];
            if (f.idx < tanks.size() && std::isfinite(f.level))
                tanks[f.idx].massKg = std::fmin(1.0, std::fmax(0.0, f.level)) * tanks[f.idx].maxMassKg;
        }
}

void Vessel::finishLoading(double mjd)
{
    if (status != Status::Orbiting)
        return;
    if (hasElements_)
        orbitState = headless::StateFromElements(elements_, ref->mu(), elementsEpochMjd_, mjd);
    else if (!hasRpos_ || !hasRvel_) {
        // An orbiting vessel without an orbit: put it on a circular orbit
        // 300 km up over the equator rather than inside the planet.
        MATRIX3 equator = ref->equatorialOrientation(mjd);
        double r = ref->size() + 300e3;
        orbitState.r = headless::mul(equator, _V(r, 0, 0));
        orbitState.v = headless::mul(equator, _V(0, std::sqrt(ref->mu() / r), 0));
    }
}

bool Vessel::parseLine(const char *line)
{
    while (*line == ' ' || *line == '\t')
        ++line;
    const char *rest = nullptr;
    double v[7] = {0, 0, 0, 0, 0, 0, 0};
    if (KeyIs(line, "STATUS", &rest)) {
        std::istringstream in(rest);
        std::string what, body;
        in >> what >> body;
        if (strcasecmp(what.c_str(), "Landed") == 0)
            status = Status::Landed;
        else if (strcasecmp(what.c_str(), "Orbiting") == 0)
            status = Status::Orbiting;
        else
            return false;
        if (headless::Planet *planet = headless::World::instance().planetByName(body))
            ref = planet;
        return true;
    }
    if (KeyIs(line, "ELEMENTS", &rest)) {
        if (ReadNumbers(rest, v, 7) < 6)
            return false;
        // Relative to the ecliptic of J2000: the internal frame's own elements.
        elements_.a = v[0];
        elements_.e = v[1];
        elements_.i = DegreesToRadians(v[2]);
        elements_.theta = DegreesToRadians(v[3]);
        elements_.omegab = DegreesToRadians(v[4]);
        elements_.L = DegreesToRadians(v[5]);
        elementsEpochMjd_ = v[6] != 0.0 ? v[6] : headless::World::instance().mjd();
        hasElements_ = true;
        return true;
    }
    if (KeyIs(line, "RPOS", &rest)) {
        if (ReadNumbers(rest, v, 3) < 3)
            return false;
        orbitState.r = headless::FromSimulatorFrame(_V(v[0], v[1], v[2]));
        hasRpos_ = true;
        hasElements_ = false;
        return true;
    }
    if (KeyIs(line, "RVEL", &rest)) {
        if (ReadNumbers(rest, v, 3) < 3)
            return false;
        orbitState.v = headless::FromSimulatorFrame(_V(v[0], v[1], v[2]));
        hasRvel_ = true;
        hasElements_ = false;
        return true;
    }
    if (KeyIs(line, "POS", &rest)) {
        if (ReadNumbers(rest, v, 2) < 2)
            return false;
        placeAt(DegreesToRadians(v[0]), DegreesToRadians(v[1]));
        return true;
    }
    if (KeyIs(line, "BASE", &rest)) {
        // BASE <name>:<pad>; the name may hold blanks, the pad is a number.
        std::string text(rest);
        size_t b = text.find_first_not_of(" \t");
        size_t colon = text.rfind(':');
        if (b == std::string::npos || colon == std::string::npos || colon <= b)
            return false;
        char *end = nullptr;
        long pad = std::strtol(text.c_str() + colon + 1, &end, 10);
        if (end == text.c_str() + colon + 1 || pad < 0 || pad > 1000000)
            return false;
        size_t e = text.find_last_not_of(" \t", colon - 1);
        baseName = text.substr(b, e - b + 1);
        basePad = static_cast<int>(pad);
        return true;
    }
    if (KeyIs(line, "HEADING", &rest)) {
        if (ReadNumbers(rest, v, 1) < 1)
            return false;
        headingRad = DegreesToRadians(v[0]);
        return true;
    }
    if (KeyIs(line, "AROT", &rest)) {
        if (ReadNumbers(rest, v, 3) < 3)
            return false;
        rotation = headless::RotationFromEuler(
            _V(DegreesToRadians(v[0]), DegreesToRadians(v[1]), DegreesToRadians(v[2])));
        arotDeg_ = _V(v[0], v[1], v[2]);
        arotAsRead_ = true;
        return true;
    }
    if (KeyIs(line, "VROT", &rest)) {
        if (ReadNumbers(rest, v, 3) < 3)
            return false;
        angularVelRad = _V(DegreesToRadians(v[0]), DegreesToRadians(v[1]), DegreesToRadians(v[2]));
        return true;
    }
    if (KeyIs(line, "EMPTYMASS", &rest)) {
        if (ReadNumbers(rest, v, 1) < 1 || !(v[0] >= 0.0))
            return false;
        emptyMassKg = v[0];
        emptyMassFromLine_ = true;
        return true;
    }
    if (KeyIs(line, "TANK", &rest)) {
        if (ReadNumbers(rest, v, 2) < 2 || !(v[0] >= 0.0) || !(v[1] >= 0.0))
            return false;
        if (!tanks.add(v[0], v[1])) {
            if (!tankCapReported_)
                headless::Report("vessel " + name() + ": more than " + std::to_string(headless::kMaxTanksPerVessel) +
                                 " tanks; further TANK lines are kept as text");
            tankCapReported_ = true;
            return false;
        }
        return true;
    }
    if (KeyIs(line, "PRPLEVEL", &rest)) {
        std::vector<std::pair<size_t, double>> levels;
        if (!ReadFillLevels(rest, levels))
            return false;
        for (const auto &entry : levels)
            if (entry.first < tanks.size())
                tanks[entry.first].massKg = entry.second * tanks[entry.first].maxMassKg;
        return true;
    }
    if (KeyIs(line, "MAINENGINE", &rest)) {
        if (ReadNumbers(rest, v, 2) < 2 || !(v[0] >= 0.0) || !(v[1] > 0.0))
            return false;
        mainThrustNewton = v[0];
        mainIspMetresPerSecond = v[1];
        mainEngineFromLine_ = true;
        return true;
    }
    if (KeyIs(line, "BURN", &rest)) {
        if (ReadNumbers(rest, v, 3) < 3 || !(v[1] >= 0.0) || !std::isfinite(v[0]))
            return false;
        burns.push_back(Burn{v[0], v[1], v[2]});
        return true;
    }
    return false;
}

void Vessel::writeState(headless::ScenarioWriter &out, double simt) const
{
    if (status == Status::Landed) {
        out.item("STATUS", ("Landed " + ref->name()).c_str());
        if (!baseName.empty())
            out.item("BASE", Format("%s:%d", baseName.c_str(), basePad).c_str());
        out.item("POS", Format("%.10f %.10f", RadiansToDegrees(landedLonRad), RadiansToDegrees(landedLatRad)).c_str());
        out.item("HEADING", Format("%.4f", RadiansToDegrees(headingRad)).c_str());
    } else {
        out.item("STATUS", ("Orbiting " + ref->name()).c_str());
        out.item("RPOS", FormatExact(headless::ToSimulatorFrame(orbitState.r)).c_str());
        out.item("RVEL", FormatExact(headless::ToSimulatorFrame(orbitState.v)).c_str());
        VECTOR3 arot = arotAsRead_ ? arotDeg_ : headless::EulerFromRotation(rotation) * RadiansToDegrees(1.0);
        out.item("AROT", FormatExact(arot).c_str());
        if (headless::length(angularVelRad) > 0.0)
            out.item("VROT", FormatExact(angularVelRad * RadiansToDegrees(1.0)).c_str());
    }
    if (emptyMassFromLine_)
        out.item("EMPTYMASS", Format("%.17g", emptyMassKg).c_str());
    // The class's tanks by their fills, a few to a line so that no line
    // comes near the reader's limit.
    for (size_t first = 0; first < classTanks_; first += kFillsPerLine) {
        std::string fills;
        for (size_t i = first; i < std::min(classTanks_, first + kFillsPerLine); ++i) {
            const headless::PropellantTanks::Tank &t = tanks[i];
            fills += Format("%s%zu:%.17g", i > first ? " " : "", i, t.maxMassKg > 0.0 ? t.massKg / t.maxMassKg : 0.0);
        }
        out.item("PRPLEVEL", fills.c_str());
    }
    for (size_t i = classTanks_; i < tanks.size(); ++i)
        out.item("TANK", Format("%.17g %.17g", tanks[i].maxMassKg, tanks[i].massKg).c_str());
    if (mainEngineFromLine_)
        out.item("MAINENGINE", Format("%.17g %.17g", mainThrustNewton, mainIspMetresPerSecond).c_str());
    for (const Burn &b : burns) {
        double start = b.startSeconds - simt;
        double duration = b.durationSeconds;
        if (start + duration <= 0.0)
            continue; // already over
        if (start < 0.0) {
            duration += start;
            start = 0.0;
        }
        out.item("BURN", Format("%.17g %.17g %.17g", start, duration, b.level).c_str());
    }
    for (const std::string &line : extraLines)
        out.line("  " + line);
}
