// The map's projection, the ground-track prediction and horizon circles, as
// functions of plain numbers.

#include <cmath>

#include <gtest/gtest.h>

#include "map/ground_track.h"
#include "map/horizon_circle.h"
#include "map/map_projection.h"

namespace {

using korvane::MapView;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = 180.0 / kPi;

MapView RedrawView() { return MapView{1000.0, korvane::MapScale(1000.0), korvane::MapScale(1000.0), nullptr}; }

TEST(MapProjectionTest, CornersAndCentre)
{
    EXPECT_DOUBLE_EQ(korvane::MapScale(1000.0), 1024.0 / 360000.0);
    const MapView view = RedrawView();
    struct Case {
        double lon, lat;
        int x, y;
    } const cases[] = {{0, 0, 512, 256},     {-180, 90, 0, 0},      {180, -90, 1024, 512},
                       {90, 45, 768, 128},   {-90, -45, 256, 384},  {540, 0, 2048, 256},
                       {-540, 0, -1024, 256}, {10, 0, 540, 256}}; // 190 * 1024 / 360 = 540.4
    for (const Case &c : cases) {
        oapi::IVECTOR2 p = korvane::projectToMap(view, c.lon, c.lat);
        EXPECT_EQ(p.x, c.x) << c.lon << ", " << c.lat;
        EXPECT_EQ(p.y, c.y) << c.lon << ", " << c.lat;
    }
}

// A circular equatorial orbit of radius 7000 km about Earth.
korvane::TrackInput CircularEquatorial(double lonNowRad)
{
    const double G = 6.67259e-11, M = 5.973698968e24, a = 7.0e6;
    korvane::TrackInput in{};
    in.semiMajorAxisMetres = a;
    in.eccentricity = 0.0;
    in.periodSeconds = 2.0 * kPi * std::sqrt(a * a * a / (G * M));
    in.bodyMassKg = M;
    in.bodyRotationSeconds = 86164.1;
    in.longitudeNowRad = lonNowRad;
    return in;
}

TEST(GroundTrackTest, CircularEquatorialOrbitGivesThreeShiftedTracksAlongTheEquator)
{
    korvane::TrackInput in = CircularEquatorial(0.0);
    korvane::TrackSamples track;
    ASSERT_TRUE(korvane::ComputeGroundTrack(in, track));
    // Over one orbit the vessel gains 360 deg while the ground turns
    // 360 T/Tp deg under it; the next orbits start 360 T/Tp and 720 T/Tp
    // degrees further west.
    const double drift = in.periodSeconds / in.bodyRotationSeconds; // fraction of a turn per orbit
    for (int j = 0; j < korvane::kTrackSamples; ++j) {
        EXPECT_NEAR(track.latRad[j], 0.0, 1e-12);
        double expected = j * 10.0 * (1.0 - drift);
        EXPECT_NEAR(track.lonRad[0][j] * kDeg, expected, 1e-9) << j;
        EXPECT_NEAR(track.lonRad[1][j] * kDeg, expected - 360.0 * drift, 1e-9) << j;
        EXPECT_NEAR(track.lonRad[2][j] * kDeg, expected - 720.0 * drift, 1e-9) << j;
    }
    // The first track spans one orbit of ground: 360 deg less the drift.
    EXPECT_NEAR((track.lonRad[0][36] - track.lonRad[0][0]) * kDeg, 360.0 * (1.0 - drift), 1e-9);
}

TEST(GroundTrackTest, TracksStayContinuousAcross180Degrees)
{
    korvane::TrackInput in = CircularEquatorial(170.0 / kDeg);
    in.inclinationRad = 51.6 / kDeg;
    in.eccentricity = 0.1;
    in.semiMajorAxisMetres = 7.5e6;
    in.eccentricAnomalyRad = 1.0;
    korvane::TrackSamples track;
    ASSERT_TRUE(korvane::ComputeGroundTrack(in, track));
    EXPECT_NEAR(track.lonRad[0][0], 170.0 / kDeg, 1e-12); // starts where the target is
    bool passedEdge = false;
    for (int orbit = 0; orbit < 3; ++orbit)
        for (int j = 1; j < korvane::kTrackSamples; ++j) {
            double step = std::fabs(track.lonRad[orbit][j] - track.lonRad[orbit][j - 1]);
            EXPECT_LT(step, kPi) << orbit << " " << j;
            passedEdge = passedEdge || std::fabs(track.lonRad[orbit][j]) > kPi;
        }
    EXPECT_TRUE(passedEdge); // goes on past the edge instead of jumping back
    for (int j = 0; j < korvane::kTrackSamples; ++j)
        EXPECT_LE(std::fabs(track.latRad[j]), 51.6 / kDeg + 1e-9);
}

TEST(GroundTrackTest, NoTrackForOpenOrDegenerateOrbits)
{
    korvane::TrackSamples track;
    korvane::TrackInput in = CircularEquatorial(0.0);
    in.eccentricity = 1.0;
    EXPECT_FALSE(korvane::ComputeGroundTrack(in, track));
    in.eccentricity = 1.5;
    EXPECT_FALSE(korvane::ComputeGroundTrack(in, track));
    in = CircularEquatorial(0.0);
    in.semiMajorAxisMetres = -7e6;
    EXPECT_FALSE(korvane::ComputeGroundTrack(in, track));
    in = CircularEquatorial(0.0);
    in.eccentricity = std::nan("");
    EXPECT_FALSE(korvane::ComputeGroundTrack(in, track));
}

TEST(HorizonCircleTest, KnownCircleMirrorAndLimits)
{
    const double R = 6371010.0;
    double lon[37], lat[37];
    // Twice the radius over the equator: the circle reaches 60 deg of arc.
    ASSERT_TRUE(korvane::ComputeHorizonCircle(0.0, 0.0, 2 * R, R, lon, lat));
    EXPECT_NEAR(lat[0], 60.0, 1e-9);  // azimuth 0: north
    EXPECT_NEAR(lon[0], 0.0, 1e-9);
    EXPECT_NEAR(lat[9], 0.0, 1e-9);   // azimuth 90: east
    EXPECT_NEAR(lon[9], 60.0, 1e-9);
    EXPECT_NEAR(lat[18], -60.0, 1e-9);
    EXPECT_NEAR(lat[36], lat[0], 1e-9); // closed
    EXPECT_NEAR(lon[36], lon[0], 1e-9);

    // The southern circle mirrors the northern one.
    double lonN[37], latN[37], lonS[37], latS[37];
    ASSERT_TRUE(korvane::ComputeHorizonCircle(0.3, 30.0 / kDeg, 1.1 * R, R, lonN, latN));
    ASSERT_TRUE(korvane::ComputeHorizonCircle(0.3, -30.0 / kDeg, 1.1 * R, R, lonS, latS));
    for (int k = 0; k < 37; ++k) {
        EXPECT_DOUBLE_EQ(lonS[k], lonN[k]);
        EXPECT_DOUBLE_EQ(latS[k], -latN[k]);
    }

    // On the surface: a circle of zero size at the object.
    ASSERT_TRUE(korvane::ComputeHorizonCircle(0.5, 0.2, R, R, lon, lat));
    for (int k = 0; k < 37; ++k) {
        EXPECT_NEAR(lon[k], 0.5 * kDeg, 1e-9);
        EXPECT_NEAR(lat[k], 0.2 * kDeg, 1e-9);
    }
    // Below it: none.
    EXPECT_FALSE(korvane::ComputeHorizonCircle(0.5, 0.2, R - 1.0, R, lon, lat));
}

} // namespace
