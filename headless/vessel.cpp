#include "headless/vessel.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <strings.h>

#include "headless/attitude.h"
#include "headless/frames.h"
#include "headless/scenario.h"
#include "headless/vecmath.h"

using headless::DegreesToRadians;
using headless::RadiansToDegrees;

namespace {

// The interface of a vessel that no module defines.
class GenericVessel final : public VESSEL3 {
public:
    explicit GenericVessel(OBJHANDLE h) : VESSEL3(h, 1) {}
};

MATRIX3 Identity()
{
    MATRIX3 m{};
    m.m11 = m.m22 = m.m33 = 1.0;
    return m;
}

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

} // namespace

Vessel::Vessel(std::string name, std::string className)
    : headless::Object(std::move(name), OBJTP_VESSEL), rotation(Identity()), className_(std::move(className))
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

double Vessel::mass() const { return emptyMassKg + propellantMass(); }

double Vessel::propellantMass() const
{
    double m = 0.0;
    for (const Tank &t : tanks)
        m += t.massKg;
    return m;
}

VECTOR3 Vessel::relativePos() const
{
    if (status == Status::Landed)
        return headless::RelativeFromEquatorial(landedLonRad, landedLatRad, ref->size(),
                                                ref->rotationAngle(headless::World::instance().mjd()));
    return orbitState.r;
}

VECTOR3 Vessel::relativeVel() const
{
    if (status == Status::Landed)
        return headless::CorotationVelocity(relativePos(), ref->siderealPeriod());
    return orbitState.v;
}

VECTOR3 Vessel::globalPos() const { return ref->globalPos() + relativePos(); }
VECTOR3 Vessel::globalVel() const { return ref->globalVel() + relativeVel(); }

VECTOR3 Vessel::airspeedVector() const
{
    VECTOR3 r = relativePos();
    return relativeVel() - headless::CorotationVelocity(r, ref->siderealPeriod());
}

double Vessel::altitudeMeanRadius() const { return headless::length(relativePos()) - ref->size(); }

MATRIX3 Vessel::globalRotation() const
{
    if (status == Status::Orbiting)
        return rotation;
    // Standing upright: +y along the local vertical, +z towards the heading.
    VECTOR3 north, east, up;
    headless::LocalHorizon(relativePos(), north, east, up);
    VECTOR3 fwd = north * std::cos(headingRad) + east * std::sin(headingRad);
    VECTOR3 right = headless::cross(up, fwd); // left-handed vessel frame: x = y cross z in global terms
    MATRIX3 R;
    R.m11 = right.x, R.m12 = up.x, R.m13 = fwd.x;
    R.m21 = right.y, R.m22 = up.y, R.m23 = fwd.y;
    R.m31 = right.z, R.m32 = up.z, R.m33 = fwd.z;
    return R;
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

void Vessel::drainPropellant(double kg)
{
    for (Tank &t : tanks) {
        double take = std::fmin(kg, t.massKg);
        t.massKg -= take;
        kg -= take;
        if (kg <= 0.0)
            break;
    }
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
                drainPropellant(flow * burnTime);
                if (burnTime < span)
                    orbitState = headless::PropagateKepler(orbitState, mu, span - burnTime);
            } else {
                orbitState = headless::PropagateKepler(orbitState, mu, span);
            }
        }
        if (headless::length(angularVelRad) > 0.0)
            rotation = headless::IntegrateRotation(rotation, angularVelRad, dt);
    }
}

double Vessel::mainLevel() const
{
    return status == Status::Orbiting ? burnLevelAt(headless::World::instance().simTime()) : 0.0;
}

void Vessel::finishLoading(double mjd)
{
    if (status != Status::Orbiting)
        return;
    if (hasElements_)
        orbitState = headless::StateFromElements(elements_, ref->mu(), elementsEpochMjd_, mjd);
    else if (!hasRpos_ || !hasRvel_) {
        // An orbiting vessel without an orbit: put it on a circular equatorial
        // orbit 300 km up rather than inside the planet.
        double r = ref->size() + 300e3;
        orbitState.r = _V(r, 0, 0);
        orbitState.v = _V(0, std::sqrt(ref->mu() / r), 0);
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
        if (auto *planet = dynamic_cast<headless::Planet *>(headless::World::instance().objectByName(body)))
            ref = planet;
        return true;
    }
    if (KeyIs(line, "ELEMENTS", &rest)) {
        if (ReadNumbers(rest, v, 7) < 6)
            return false;
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
        orbitState.r = _V(v[0], v[1], v[2]);
        hasRpos_ = true;
        hasElements_ = false;
        return true;
    }
    if (KeyIs(line, "RVEL", &rest)) {
        if (ReadNumbers(rest, v, 3) < 3)
            return false;
        orbitState.v = _V(v[0], v[1], v[2]);
        hasRvel_ = true;
        hasElements_ = false;
        return true;
    }
    if (KeyIs(line, "POS", &rest)) {
        if (ReadNumbers(rest, v, 2) < 2)
            return false;
        landedLonRad = DegreesToRadians(v[0]);
        landedLatRad = DegreesToRadians(v[1]);
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
        return true;
    }
    if (KeyIs(line, "TANK", &rest)) {
        if (ReadNumbers(rest, v, 2) < 2 || !(v[0] >= 0.0) || !(v[1] >= 0.0))
            return false;
        tanks.push_back(Tank{v[0], std::fmin(v[0], v[1])});
        return true;
    }
    if (KeyIs(line, "MAINENGINE", &rest)) {
        if (ReadNumbers(rest, v, 2) < 2 || !(v[0] >= 0.0) || !(v[1] > 0.0))
            return false;
        mainThrustNewton = v[0];
        mainIspMetresPerSecond = v[1];
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
        out.item("POS", Format("%.10f %.10f", RadiansToDegrees(landedLonRad), RadiansToDegrees(landedLatRad)).c_str());
        out.item("HEADING", Format("%.4f", RadiansToDegrees(headingRad)).c_str());
    } else {
        out.item("STATUS", ("Orbiting " + ref->name()).c_str());
        out.item("RPOS", FormatExact(orbitState.r).c_str());
        out.item("RVEL", FormatExact(orbitState.v).c_str());
        VECTOR3 e = headless::EulerFromRotation(rotation);
        out.item("AROT", FormatExact(e * RadiansToDegrees(1.0)).c_str());
        if (headless::length(angularVelRad) > 0.0)
            out.item("VROT", FormatExact(angularVelRad * RadiansToDegrees(1.0)).c_str());
    }
    out.item("EMPTYMASS", Format("%.17g", emptyMassKg).c_str());
    for (const Tank &t : tanks)
        out.item("TANK", Format("%.17g %.17g", t.maxMassKg, t.massKg).c_str());
    if (mainThrustNewton > 0.0)
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
