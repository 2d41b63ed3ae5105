// The host's vessels seen through the vessel interface: orbits, landed
// vessels on the rotating Earth, propellant and burns, and their scenario
// lines.

#include <cmath>
#include <cstdio>
#include <memory>

#include <gtest/gtest.h>

#include "VesselAPI.h"
#include "headless/scenario.h"
#include "headless/vessel.h"
#include "headless/world.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMu = 6.67259e-11 * 5.973698968e24; // G M of Earth, m^3/s^2

class VesselTest : public ::testing::Test {
protected:
    void SetUp() override { headless::World::instance().reset(); }
    void TearDown() override { headless::World::instance().reset(); }
    Vessel *add(const char *name, std::initializer_list<const char *> lines)
    {
        auto *v = headless::World::instance().addVessel(std::make_unique<Vessel>(name, "Generic"));
        v->makeGenericInterface();
        for (const char *line : lines)
            EXPECT_TRUE(v->parseLine(line)) << line;
        v->finishLoading(headless::World::instance().mjd());
        return v;
    }
};

TEST_F(VesselTest, CircularOrbitPeriodAndElementsThroughTheInterface)
{
    // RPOS along the equinox, RVEL in the plane tilted 0.5 rad from the
    // ecliptic about it (the simulator's frame: y is the ecliptic pole, so
    // the velocity is (0, v sin 0.5, v cos 0.5)).
    const double a = 7.0e6;
    const double v = std::sqrt(kMu / a);
    char rvel[128];
    std::snprintf(rvel, sizeof(rvel), "RVEL 0 %.17g %.17g", v * std::sin(0.5), v * std::cos(0.5));
    Vessel *sat = add("Sat", {"STATUS Orbiting Earth", "RPOS 7000000 0 0", rvel});
    OBJHANDLE earth = headless::World::instance().earth()->handle();
    ELEMENTS el;
    ORBITPARAM prm;
    ASSERT_TRUE(sat->iface->GetElements(earth, el, &prm, 0, FRAME_ECL));
    EXPECT_NEAR(el.a, a, 1e-3);
    EXPECT_NEAR(el.e, 0.0, 1e-9);
    EXPECT_NEAR(el.i, 0.5, 1e-12);
    EXPECT_NEAR(el.theta, 0.0, 1e-12);
    const double period = 2 * kPi * std::sqrt(a * a * a / kMu);
    EXPECT_NEAR(prm.T, period, 1e-6);
    // The node is the equinox, where equator and ecliptic meet, and the
    // orbit climbs northwards there: its inclination to the equator is
    // 0.5 rad plus the obliquity at J2000.
    ASSERT_TRUE(sat->iface->GetElements(earth, el, &prm, 0, FRAME_EQU));
    EXPECT_NEAR(el.i, 0.5 + 0.4090928023, 1e-12);
    EXPECT_NEAR(el.theta, 0.0, 1e-12);

    // One period later it is back where it started.
    VECTOR3 start;
    sat->iface->GetGlobalPos(start);
    EXPECT_NEAR(start.x, 7000000.0, 1e-6);
    headless::World::instance().advance(period);
    VECTOR3 end;
    sat->iface->GetGlobalPos(end);
    EXPECT_NEAR(end.x, start.x, 1e-3);
    EXPECT_NEAR(end.y, start.y, 1e-3);
    EXPECT_NEAR(end.z, start.z, 1e-3);
    EXPECT_NEAR(sat->iface->GetAltitude(), a - 6371010.0, 1e-3);
    EXPECT_EQ(sat->iface->GetSurfaceRef(), earth);
    EXPECT_EQ(sat->iface->GetFlightStatus(), 0u);
}

TEST_F(VesselTest, ElementsLinesGiveTheOrbitTheyDescribe)
{
    // ELEMENTS are relative to the ecliptic, like GetElements' frame 0.
    Vessel *s = add("S", {"STATUS Orbiting Earth", "ELEMENTS 6776000 0.01 51.6 120 160 25 51544.5"});
    headless::World::instance().advance(1234.0);
    OBJHANDLE earth = headless::World::instance().earth()->handle();
    ELEMENTS el;
    ORBITPARAM prm;
    ASSERT_TRUE(s->iface->GetElements(earth, el, &prm, 0, FRAME_ECL));
    EXPECT_NEAR(el.a, 6776000.0, 1e-2);
    EXPECT_NEAR(el.e, 0.01, 1e-9);
    EXPECT_NEAR(el.i * 180 / kPi, 51.6, 1e-9);
    EXPECT_NEAR(el.theta * 180 / kPi, 120.0, 1e-9);
    EXPECT_NEAR(el.omegab * 180 / kPi, 160.0, 1e-9);
    EXPECT_NEAR(prm.PeD, 6776000.0 * 0.99, 1e-2);
    EXPECT_NEAR(prm.ApD, 6776000.0 * 1.01, 1e-2);
    // An orbit in the ecliptic is inclined to the equator by the obliquity,
    // its ascending node on the equator at the vernal equinox (where the Sun
    // crosses the equator northwards).
    Vessel *flat = add("Flat", {"STATUS Orbiting Earth", "ELEMENTS 7000000 0 0 0 0 0 51544.5"});
    ASSERT_TRUE(flat->iface->GetElements(earth, el, nullptr, 0, FRAME_EQU));
    EXPECT_NEAR(el.i, 0.4090928023, 1e-9);
    EXPECT_LT(std::fabs(std::remainder(el.theta, 2 * kPi)), 1e-9);
    // No elements for an open orbit, and nothing written.
    Vessel *escape = add("Escape", {"STATUS Orbiting Earth", "RPOS 7000000 0 0", "RVEL 0 0 12000"});
    ELEMENTS untouched = {1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(escape->iface->GetElements(earth, untouched, nullptr, 0, FRAME_EQU));
    EXPECT_EQ(untouched.a, 1.0);
}

TEST_F(VesselTest, LandedVesselTurnsWithEarth)
{
    Vessel *pad = add("Pad", {"STATUS Landed Earth", "POS -80.6 28.5", "HEADING 90"});
    EXPECT_EQ(pad->iface->GetFlightStatus() & 1u, 1u);
    double lon0, lat0, rad0;
    pad->iface->GetEquPos(lon0, lat0, rad0);
    EXPECT_NEAR(lon0 * 180 / kPi, -80.6, 1e-9);
    EXPECT_NEAR(lat0 * 180 / kPi, 28.5, 1e-9);
    EXPECT_NEAR(rad0, 6371010.0, 1e-6);
    VECTOR3 g0;
    pad->iface->GetGlobalPos(g0);

    const double dt = 3600.0;
    headless::World::instance().advance(dt);
    double lon1, lat1, rad1;
    pad->iface->GetEquPos(lon1, lat1, rad1);
    EXPECT_NEAR(lon1, lon0, 1e-12);
    EXPECT_NEAR(lat1, lat0, 1e-12);
    VECTOR3 g1;
    pad->iface->GetGlobalPos(g1);
    // In the simulator's frame Earth's axis is (0, cos eps, sin eps). About
    // it the pad turned east by one hour of a sidereal day, at the same
    // height along it (the axis moves by 1e-8 rad an hour).
    const double eps = 0.4090928023;
    const VECTOR3 axis = _V(0, std::cos(eps), std::sin(eps));
    const VECTOR3 towardsX = _V(1, 0, 0), towardsY = _V(0, -std::sin(eps), std::cos(eps));
    auto along = [](const VECTOR3 &a, const VECTOR3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    // The equator's (x, y) axes are the equinox and the direction 90 deg east
    // of it, which in the simulator's left-handed frame is towardsY.
    double turned = std::atan2(along(g1, towardsY), along(g1, towardsX)) -
                    std::atan2(along(g0, towardsY), along(g0, towardsX));
    EXPECT_NEAR(turned, 2 * kPi * dt / 86164.10132, 1e-7);
    EXPECT_NEAR(along(g1, axis), along(g0, axis), 0.5);
    EXPECT_NEAR(along(g0, axis), 6371010.0 * std::sin(28.5 * kPi / 180), 1e-3);
    // Standing still on the ground: no airspeed, and the surface speed in
    // space is the rotation's at that latitude.
    EXPECT_NEAR(pad->iface->GetAirspeed(), 0.0, 1e-9);
    VECTOR3 v;
    oapiGetRelativeVel(pad->handle(), headless::World::instance().earth()->handle(), &v);
    EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z),
                2 * kPi * 6371010.0 * std::cos(28.5 * kPi / 180) / 86164.10132, 1e-4);
    EXPECT_NEAR(pad->iface->GetAltitude(), 0.0, 1e-6);
    EXPECT_NEAR(pad->iface->GetAtmPressure(), 101325.0, 1e-6);
}

TEST_F(VesselTest, BurnDrainsPropellantAtThrustOverIspAndRaisesTheApoapsis)
{
    Vessel *s = add("S", {"STATUS Orbiting Earth", "RPOS 6771010 0 0", "RVEL 0 7672.6 0", "EMPTYMASS 10000",
                          "TANK 4000 3000", "TANK 1000 1000", "MAINENGINE 20000 3000", "BURN 100 50 0.5"});
    OBJHANDLE earth = headless::World::instance().earth()->handle();
    ELEMENTS el;
    ORBITPARAM before, after;
    ASSERT_TRUE(s->iface->GetElements(earth, el, &before, 0, FRAME_EQU));
    EXPECT_EQ(s->iface->GetMass(), 14000.0);
    EXPECT_EQ(s->iface->GetPropellantCount(), 2u);

    for (int i = 0; i < 120; ++i)
        headless::World::instance().advance(1.0);
    EXPECT_EQ(s->iface->GetThrusterGroupLevel(THGROUP_MAIN), 0.5);
    VECTOR3 T;
    EXPECT_TRUE(s->iface->GetThrustVector(T));
    EXPECT_NEAR(std::sqrt(T.x * T.x + T.y * T.y + T.z * T.z), 10000.0, 1e-9);
    // 20 s at half thrust: 10 kN / 3000 m/s = 3.333 kg/s, from the first tank first.
    EXPECT_NEAR(s->propellantMass(), 4000.0 - 20.0 * 10000.0 / 3000.0, 1e-6);
    PROPELLANT_HANDLE first = s->iface->GetPropellantHandleByIndex(0);
    EXPECT_NEAR(s->iface->GetPropellantMass(first), 3000.0 - 20.0 * 10000.0 / 3000.0, 1e-6);
    EXPECT_EQ(s->iface->GetPropellantMaxMass(first), 4000.0);

    for (int i = 0; i < 60; ++i)
        headless::World::instance().advance(1.0);
    EXPECT_EQ(s->iface->GetThrusterGroupLevel(THGROUP_MAIN), 0.0);
    EXPECT_FALSE(s->iface->GetThrustVector(T));
    EXPECT_NEAR(s->propellantMass(), 4000.0 - 50.0 * 10000.0 / 3000.0, 1e-6);
    ASSERT_TRUE(s->iface->GetElements(earth, el, &after, 0, FRAME_EQU));
    EXPECT_GT(after.ApD, before.ApD + 10000.0);
    EXPECT_NEAR(after.PeD, before.PeD, 2000.0);
}

TEST_F(VesselTest, BurnStopsWhenTheTanksRunDry)
{
    Vessel *s = add("S", {"STATUS Orbiting Earth", "RPOS 6771010 0 0", "RVEL 0 7672.6 0", "EMPTYMASS 1000",
                          "TANK 100 30", "MAINENGINE 3000 3000", "BURN 0 1000 1"});
    headless::World::instance().advance(100.0); // 1 kg/s: dry after 30 s
    EXPECT_EQ(s->propellantMass(), 0.0);
    EXPECT_EQ(s->iface->GetThrusterGroupLevel(THGROUP_MAIN), 0.0);
    EXPECT_EQ(s->mass(), 1000.0);
}

TEST_F(VesselTest, OddLinesAreKeptOrRefused)
{
    auto *v = headless::World::instance().addVessel(std::make_unique<Vessel>("V", "Generic"));
    v->makeGenericInterface();
    for (const char *bad : {"RPOS 1 2", "TANK -5 3", "TANK 5", "MAINENGINE 10 0", "BURN nan 10 1", "BURN 1 -1 1",
                            "POS", "STATUS Flying Earth", "EMPTYMASS -1", "ELEMENTS 7000000 0.1", "XYZ 1 2 3", "",
                            "PRPLEVEL", "PRPLEVEL 0", "PRPLEVEL 0:full", "PRPLEVEL -1:0.5", "PRPLEVEL 0:0.5 x",
                            "BASE Habana", "BASE :2", "BASE Habana:pad", "BASE Habana:-1"})
        EXPECT_FALSE(v->parseLine(bad)) << bad;
    EXPECT_TRUE(v->tanks.empty());
    EXPECT_TRUE(v->baseName.empty());
    // Fills of tanks the vessel does not have change nothing; fills beyond
    // 0..1 are held there.
    EXPECT_TRUE(v->parseLine("PRPLEVEL 5:1"));
    EXPECT_TRUE(v->parseLine("TANK 100 0"));
    EXPECT_TRUE(v->parseLine("PRPLEVEL 0:1.5"));
    EXPECT_EQ(v->tanks[0].massKg, 100.0);
    EXPECT_EQ(v->mainThrustNewton, 0.0);
    // Unknown lines go back into the saved block unchanged.
    char line[] = "XYZ 1 2 3";
    v->iface->ParseScenarioLineEx(line, nullptr);
    headless::ScenarioWriter out;
    v->iface->SaveDefaultState(&out);
    EXPECT_NE(out.text().find("\n  XYZ 1 2 3\n"), std::string::npos);
    // A body that is not known keeps the reference body, Earth.
    EXPECT_TRUE(v->parseLine("STATUS Landed Vulcan"));
    EXPECT_EQ(v->ref, headless::World::instance().earth());
    EXPECT_TRUE(v->parseLine("STATUS Orbiting Moon"));
    EXPECT_EQ(v->ref, headless::World::instance().moon());
}

TEST_F(VesselTest, HandlesAndNamesOfTheRegistry)
{
    headless::World &world = headless::World::instance();
    Vessel *a = add("Alpha", {"STATUS Landed Earth"});
    char alpha[] = "Alpha", lower[] = "aLPHA", earthName[] = "Earth", moonName[] = "Moon", moonLower[] = "moon";
    EXPECT_EQ(oapiGetVesselByName(alpha), a->handle());
    // The simulator's lookups by name ignore the case of letters.
    EXPECT_EQ(oapiGetVesselByName(lower), a->handle());
    EXPECT_EQ(oapiGetObjectByName(moonLower), oapiGetObjectByName(moonName));
    EXPECT_EQ(oapiGetVesselByName(earthName), nullptr);
    OBJHANDLE earth = oapiGetObjectByName(earthName);
    EXPECT_EQ(oapiGetObjectType(earth), OBJTP_PLANET);
    EXPECT_EQ(oapiGetSize(earth), 6371010.0);
    EXPECT_EQ(oapiGetMass(earth), 5.973698968e24);
    EXPECT_EQ(oapiGetPlanetPeriod(earth), 86164.10132);
    OBJHANDLE moon = oapiGetObjectByName(moonName);
    EXPECT_EQ(oapiGetSize(moon), 1737400.0);
    EXPECT_TRUE(oapiIsVessel(a->handle()));
    EXPECT_FALSE(oapiIsVessel(earth));
    char name[4];
    oapiGetObjectName(a->handle(), name, sizeof(name));
    EXPECT_STREQ(name, "Alp"); // cut to the buffer
    world.deleteVessel(a);
    // A stale handle is recognised, never followed.
    OBJHANDLE stale = static_cast<OBJHANDLE>(a);
    EXPECT_FALSE(oapiIsVessel(stale));
    EXPECT_EQ(oapiGetVesselInterface(stale), nullptr);
    EXPECT_EQ(oapiGetObjectType(stale), OBJTP_INVALID);
    double alt = 1.0;
    EXPECT_EQ(oapiGetAltitude(stale, &alt), 0);
}

} // namespace
