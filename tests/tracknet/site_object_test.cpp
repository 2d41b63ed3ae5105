// The network's ground sites and relay satellites as host objects: where the
// host finds them, how they move with Earth, and what kind of object the host
// takes them for.

#include "tracknet/site_object.h"

#include <cmath>

#include <gtest/gtest.h>

#include "OrbiterAPI.h"
#include "headless/world.h"

namespace tracknet {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6371010.0;        // m, the world's Earth
constexpr double kSiderealDaySeconds = 86164.10132; // the world's Earth
constexpr double kObliquity = 0.4090928023;       // rad, the world's Earth

double Degrees(double rad) { return rad * 180.0 / kPi; }
double Dot(const VECTOR3 &a, const VECTOR3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(const VECTOR3 &a) { return std::sqrt(Dot(a, a)); }
// Earth's axis in the simulator's frame (y towards the ecliptic pole) at
// the tests' date, MJD 60650.5: the equator's node has precessed from 0 at
// J2000 by 2 pi (60650.5 - 51544.5) / -9413040.4 d.
const double kNode = 2 * kPi * (60650.5 - 51544.5) / -9413040.4;
const VECTOR3 kAxis = {{-std::sin(kNode) * std::sin(kObliquity), std::cos(kObliquity),
                        std::cos(kNode) * std::sin(kObliquity)}};

class SiteObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::World::instance().reset();
        headless::World::instance().setStartMjd(60650.5);
        char name[] = "Earth";
        earth_ = oapiGetObjectByName(name);
    }
    void TearDown() override { headless::World::instance().reset(); }

    OBJHANDLE add(std::unique_ptr<SiteObject> site)
    {
        return headless::World::instance().addObject(std::move(site))->handle();
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

    OBJHANDLE earth_ = nullptr;
};

TEST_F(SiteObjectTest, GroundSiteStandsAtItsPlaceOnTheMeanRadius)
{
    OBJHANDLE h = add(SiteObject::GroundSite("Goldstone", -116.8900, 35.4267));
    EXPECT_EQ(oapiGetObjectType(h), OBJTP_SURFBASE);
    EXPECT_FALSE(oapiIsVessel(h));
    char name[32];
    oapiGetObjectName(h, name, sizeof(name));
    EXPECT_STREQ(name, "Goldstone");

    double lon, lat, radius;
    whereIs(h, lon, lat, radius);
    EXPECT_NEAR(lon, -116.8900, 1e-9);
    EXPECT_NEAR(lat, 35.4267, 1e-9);
    EXPECT_NEAR(radius, kEarthRadius, 1e-6);
}

TEST_F(SiteObjectTest, GroundSiteTurnsWithEarth)
{
    OBJHANDLE h = add(SiteObject::GroundSite("Quito", -78.5808, -0.6225));
    VECTOR3 before;
    oapiGetGlobalPos(h, &before);
    headless::World::instance().advance(6 * 3600.0);
    VECTOR3 after;
    oapiGetGlobalPos(h, &after);

    double lon, lat, radius;
    whereIs(h, lon, lat, radius);
    EXPECT_NEAR(lon, -78.5808, 1e-9);
    EXPECT_NEAR(lat, -0.6225, 1e-9);
    // Six hours of a sidereal day turn the site 90.25 deg about the polar
    // axis: the angle between the two positions at latitude phi follows
    // cos = cos^2 phi cos 90.25 + sin^2 phi. (The axis itself moves by 5e-8
    // rad in that time.)
    double phi = -0.6225 * kPi / 180.0;
    double turn = 2 * kPi * 6 * 3600.0 / kSiderealDaySeconds;
    double expectedCos = std::cos(phi) * std::cos(phi) * std::cos(turn) + std::sin(phi) * std::sin(phi);
    EXPECT_NEAR(Dot(before, after) / (Length(before) * Length(after)), expectedCos, 1e-7);
    EXPECT_NEAR(Dot(before, kAxis), Dot(after, kAxis), 1.0);

    // Co-rotation: 2 pi R cos phi per sidereal day, 464.6 m/s, eastwards
    // (towards growing longitude), across the axis.
    VECTOR3 vel;
    oapiGetRelativeVel(h, earth_, &vel);
    EXPECT_NEAR(Length(vel), 2 * kPi * kEarthRadius * std::cos(phi) / kSiderealDaySeconds, 1e-4);
    EXPECT_NEAR(Dot(vel, after), 0.0, 1e-6 * Length(after));
    EXPECT_NEAR(Dot(vel, kAxis), 0.0, 1e-3);
    VECTOR3 here, east;
    oapiEquToGlobal(earth_, -78.5808 * kPi / 180.0, phi, kEarthRadius, &here);
    oapiEquToGlobal(earth_, -78.5708 * kPi / 180.0, phi, kEarthRadius, &east);
    EXPECT_GT(Dot(vel, _V(east.x - here.x, east.y - here.y, east.z - here.z)), 0.0);
}

TEST_F(SiteObjectTest, RelayKeepsItsLongitudeOnTheGeostationaryOrbit)
{
    OBJHANDLE h = add(SiteObject::GeostationaryRelay("TDRS-East", -41.0));
    // Not a vessel of the scenario, and not a surface base either.
    EXPECT_EQ(oapiGetObjectType(h), OBJTP_GENERIC);
    EXPECT_FALSE(oapiIsVessel(h));

    for (int step = 0; step < 4; ++step) {
        double lon, lat, radius;
        whereIs(h, lon, lat, radius);
        EXPECT_NEAR(lon, -41.0, 1e-9);
        EXPECT_NEAR(lat, 0.0, 1e-12);
        EXPECT_NEAR(radius, 42164e3, 1e-3);
        // Geostationary speed, 2 pi r per sidereal day (3.0746 km/s), along
        // the orbit.
        VECTOR3 pos, vel;
        oapiGetGlobalPos(h, &pos);
        oapiGetRelativeVel(h, earth_, &vel);
        EXPECT_NEAR(Length(vel), 2 * kPi * 42164e3 / kSiderealDaySeconds, 1e-3);
        EXPECT_NEAR(Length(vel), 3074.6, 0.1);
        EXPECT_NEAR(Dot(pos, vel) / (Length(pos) * Length(vel)), 0.0, 1e-12);
        EXPECT_NEAR(Dot(vel, kAxis), 0.0, 1e-3);
        headless::World::instance().advance(5000.0);
    }
}

} // namespace
} // namespace tracknet
