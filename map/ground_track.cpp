#include "map/ground_track.h"

#include <cmath>
#include <initializer_list>

#include "OrbiterAPI.h"
#include "VesselAPI.h"
#include "screens/units.h"

namespace korvane {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kSampleStepRad = 0.17453292519943295; // 10 degrees
constexpr double kInverseG = 14986684330.971931;       // 1 / G, G = 6.67259e-11
constexpr double kQuarterTurnRad = kPi / 2.0;

// Keeps a track continuous: the step from the previous sample is taken the
// short way round.
double Continue(double previous, double lon)
{
    double d = lon - previous;
    if (d < -kPi)
        d += kTwoPi;
    else if (d > kPi)
        d -= kTwoPi;
    return previous + d;
}

} // namespace

bool ComputeGroundTrack(const TrackInput &in, TrackSamples &out)
{
    const double a = in.semiMajorAxisMetres, e = in.eccentricity;
    if (!(e >= 0.0 && e < 1.0) || !(a > 0.0) || !(in.bodyMassKg > 0.0) || in.bodyRotationSeconds == 0.0)
        return false;
    const double inverseMeanMotion = std::sqrt(a * a * a * kInverseG / in.bodyMassKg); // s per rad
    const double argumentOfPeriapsis = in.periapsisLongitudeRad - in.ascendingNodeRad;
    const double alpha = argumentOfPeriapsis - kQuarterTurnRad;
    const double inverseRotation = 1.0 / in.bodyRotationSeconds;
    const double cosI = std::cos(in.inclinationRad), sinI = std::sin(in.inclinationRad);
    const double cosA = std::cos(alpha), sinA = std::sin(alpha);
    const double minorFactor = std::sqrt(1.0 - e * e);

    double offset = 0.0, t0 = 0.0;
    for (int j = 0; j < kTrackSamples; ++j) {
        const double E = in.eccentricAnomalyRad + j * kSampleStepRad;
        const double t = (E - e * std::sin(E)) * inverseMeanMotion;
        const double P = std::cos(E) - e;
        const double Q = minorFactor * std::sin(E);
        // Turn by alpha about the orbit normal, then by -i about the node line.
        const double x1 = P * cosA - Q * sinA;
        const double y1 = P * sinA + Q * cosA;
        double d1 = cosI * x1, d2 = y1, d3 = sinI * x1;
        const double norm = std::sqrt(d1 * d1 + d2 * d2 + d3 * d3);
        if (norm > 0.0) {
            d1 /= norm;
            d2 /= norm;
            d3 /= norm;
        }
        out.latRad[j] = std::asin(d3);
        const double mu = std::atan2(d2, d1);
        if (j == 0) {
            offset = in.longitudeNowRad - mu;
            t0 = t;
        }
        double lon[kTrackOrbits];
        lon[0] = mu + offset - (t - t0) * inverseRotation * kTwoPi;
        lon[1] = lon[0] - inverseRotation * in.periodSeconds * kTwoPi;
        lon[2] = lon[0] - in.periodSeconds * 2.0 * inverseRotation * kTwoPi;
        for (int orbit = 0; orbit < kTrackOrbits; ++orbit)
            out.lonRad[orbit][j] = j == 0 ? lon[orbit] : Continue(out.lonRad[orbit][j - 1], lon[orbit]);
    }
    return true;
}

void drawGroundTrack(oapi::Sketchpad &skp, const MapView &view, OBJHANDLE target)
{
    if (!oapiIsVessel(target) || !view.reference)
        return;
    VESSEL *vessel = oapiGetVesselInterface(target);
    if (vessel->GetSurfaceRef() != view.reference || (vessel->GetFlightStatus() & 1u))
        return;

    VECTOR3 pos;
    oapiGetGlobalPos(target, &pos);
    double lonNow = 0.0, latNow = 0.0, radiusNow = 0.0;
    oapiGlobalToEqu(view.reference, pos, &lonNow, &latNow, &radiusNow);

    ELEMENTS el;
    ORBITPARAM prm;
    if (!vessel->GetElements(view.reference, el, &prm, oapiGetSimMJD(), FRAME_EQU))
        return;
    TrackInput in{el.a,  el.e,     el.i,      el.theta,   el.omegab, prm.T, prm.EcA, oapiGetMass(view.reference),
                  oapiGetPlanetPeriod(view.reference), lonNow};
    TrackSamples track;
    if (!ComputeGroundTrack(in, track))
        return;

    oapi::IVECTOR2 points[kTrackSamples];
    for (int orbit = 0; orbit < kTrackOrbits; ++orbit) {
        for (double shift : {0.0, kTwoPi, -kTwoPi}) {
            for (int j = 0; j < kTrackSamples; ++j)
                points[j] = projectToMap(view, RadiansToDegrees(track.lonRad[orbit][j] + shift),
                                         RadiansToDegrees(track.latRad[j]));
            skp.Polyline(points, kTrackSamples);
        }
    }
}

} // namespace korvane
