// The target's predicted ground track: where on the rotating body the orbit
// passes over in the next three revolutions, one polyline of 37 samples per
// revolution, each drawn again 360 degrees east and west for the map edges.

#ifndef KORVANE_MAP_GROUND_TRACK_H
#define KORVANE_MAP_GROUND_TRACK_H

#include "DrawAPI.h"
#include "map/map_projection.h"

class Korvane;

namespace korvane {

constexpr int kTrackSamples = 37; // every 10 degrees of eccentric anomaly, one full orbit
constexpr int kTrackOrbits = 3;

// What the prediction needs of the orbit and the body.
struct TrackInput {
    double semiMajorAxisMetres;
    double eccentricity;
    double inclinationRad;
    double ascendingNodeRad;       // longitude of the ascending node
    double periapsisLongitudeRad;  // longitude of periapsis
    double periodSeconds;
    double eccentricAnomalyRad;    // now
    double bodyMassKg;
    double bodyRotationSeconds;    // sidereal rotation period
    double longitudeNowRad;        // the target's current longitude on the body
};

struct TrackSamples {
    double lonRad[kTrackOrbits][kTrackSamples]; // continuous along each track (may pass +-pi)
    double latRad[kTrackSamples];
};

// The three tracks. False (nothing written) for an orbit that is not an
// ellipse (e >= 1 or a <= 0) or a body that does not rotate.
bool ComputeGroundTrack(const TrackInput &in, TrackSamples &out);

// Draws the target's ground track relative to the view's reference body
// with the current pen, when the target is a vessel orbiting that body, not
// landed, on an elliptic orbit the host can give elements for.
void drawGroundTrack(oapi::Sketchpad &skp, const MapView &view, OBJHANDLE target);

} // namespace korvane

#endif // KORVANE_MAP_GROUND_TRACK_H
