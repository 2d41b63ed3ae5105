// The network's nodes as vessels of the simulator: where the host puts a
// landed site and a relay made from the plug-in's states, and how the relay
// keeps its place over Earth.

#include "tracknet/site_vessels.h"

#include <cmath>

#include <gtest/gtest.h>

#include "OrbiterAPI.h"
#include "headless/world.h"
#include "session.h"

namespace tracknet {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6371010.0;          // m, Config/Earth.cfg
constexpr double kSiderealDaySeconds = 86164.10132; // Config/Earth.cfg
constexpr double kObliquity = 0.4090928023;         // rad, Config/Earth.cfg
// (G M (T / 2 pi)^2)^(1/3) with G = 6.67259e-11 and Earth's published
// mass 5.973698968e24 kg, worked out apart: the 42164 km of every table.
constexpr double kGeostationaryRadius = 42164173.09;

double Degrees(double rad) { return rad * 180.0 / kPi; }
double Dot(const VECTOR3 &a, const VECTOR3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(const VECTOR3 &a) { return std::sqrt(Dot(a, a)); }
// Earth's axis in the simulator's frame at the tests' date, MJD 60650.5:
// the equator's node has precessed from 0 at J2000 by
// 2 pi (60650.5 - 51544.5) / -9413040.4 d.
const double kNode = 2 * kPi * (60650.5 - 51544.5) / -9413040.4;
const VECTOR3 kAxis = {{-std::sin(kNode) * std::sin(kObliquity), std::cos(kObliquity),
                        std::cos(kNode) * std::sin(kObliquity)}};

class SiteVesselsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim_ = tracknet_test::StartSession(tracknet_test::kEmptyScenario, false);
        char name[] = "Earth";
        earth_ = oapiGetObjectByName(name);
    }

    // Longitude and latitude (degrees) and radius (m) where the host puts
    // the object now.
    void whereIs(OBJHANDLE h, double &lonDeg, double &latDeg, double &radius)
    {
        VECTOR3 pos;
        oapiGetGlobalPos(h, &pos);
        double lng, lat;
        oapiGlobalToEqu(earth_, pos, &lng, &lat, &radius);
        lonDeg = Degrees(lng);
        latDeg = Degrees(lat);
    }

    std::unique_ptr<headless::Simulator> sim_;
    OBJHANDLE earth_ = nullptr;
};

TEST(SynchronousOrbitTest, EarthsGeostationaryRadius)
{
    EXPECT_NEAR(SynchronousOrbitRadius(5.973698968e24, 86164.10132), kGeostationaryRadius, 1.0);
    // Four times the period: 4^(2/3) times the radius.
    EXPECT_NEAR(SynchronousOrbitRadius(5.973698968e24, 4 * 86164.10132), kGeostationaryRadius * std::cbrt(16.0), 4.0);
}

TEST_F(SiteVesselsTest, LandedSiteStandsAtItsPlaceOnTheMeanRadius)
{
    OBJHANDLE h = CreateSite("Quito", LandedSiteStatus(earth_, -78.5808, -0.6225));
    ASSERT_NE(h, nullptr);
    EXPECT_STREQ(oapiGetVesselInterface(h)->GetClassName(), "KorvaneSite");
    EXPECT_EQ(oapiGetVesselInterface(h)->GetFlightStatus() & 1u, 1u) << "landed";
    for (int k = 0; k < 2; ++k) {
        double lon, lat, radius;
        whereIs(h, lon, lat, radius);
        EXPECT_NEAR(lon, -78.5808, 1e-9);
        EXPECT_NEAR(lat, -0.6225, 1e-9);
        EXPECT_NEAR(radius, kEarthRadius, 1e-6);
        sim_->frame(6 * 3600.0);
    }
}

TEST_F(SiteVesselsTest, RelayKeepsItsLongitudeOnTheGeostationaryOrbit)
{
    OBJHANDLE h = CreateSite("TDRS-East", GeostationaryStatus(earth_, -41.0));
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(oapiGetVesselInterface(h)->GetFlightStatus() & 1u, 0u) << "in free flight";
    // A day in steps of an hour, the host flying it as any vessel: it stays
    // above 41 W on the equator, on its circle, at 2 pi r per sidereal day
    // (3.0747 km/s), across Earth's axis.
    for (int hour = 0; hour <= 24; ++hour) {
        double lon, lat, radius;
        whereIs(h, lon, lat, radius);
        EXPECT_NEAR(lon, -41.0, 1e-3) << "hour " << hour;
        EXPECT_NEAR(lat, 0.0, 1e-3) << "hour " << hour;
        EXPECT_NEAR(radius, kGeostationaryRadius, 1.0) << "hour " << hour;
        VECTOR3 pos, vel, centre;
        oapiGetGlobalPos(h, &pos);
        oapiGetGlobalPos(earth_, &centre);
        oapiGetRelativeVel(h, earth_, &vel);
        VECTOR3 rel = _V(pos.x - centre.x, pos.y - centre.y, pos.z - centre.z);
        EXPECT_NEAR(Length(vel), 2 * kPi * kGeostationaryRadius / kSiderealDaySeconds, 1e-3);
        EXPECT_NEAR(Length(vel), 3074.66, 0.01);
        EXPECT_NEAR(Dot(rel, vel) / (Length(rel) * Length(vel)), 0.0, 1e-6);
        EXPECT_NEAR(Dot(vel, kAxis), 0.0, 1e-2);
        sim_->frame(3600.0);
    }
}

} // namespace
} // namespace tracknet
