// The simulator's configuration files as the stand-in reads them: the
// common key = value layer, planets, surface bases and vessel classes, with
// their damaged cases.

#include <cmath>
#include <sstream>

#include <gtest/gtest.h>

#include "headless/base_config.h"
#include "headless/config_file.h"
#include "headless/planet_config.h"
#include "headless/propellant.h"
#include "headless/vessel_config.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

bool Mentions(const std::vector<std::string> &problems, const std::string &text)
{
    for (const std::string &p : problems)
        if (p.find(text) != std::string::npos)
            return true;
    return false;
}

TEST(ConfigFileTest, KeysValuesCommentsAndBounds)
{
    std::istringstream in("; comment only\n"
                          "Mass = 5.97e24   ; kg\r\n"
                          "  LOCATION -82.4 23.1\n"
                          "Name=Cape Canaveral\n"
                          "\n"
                          "BEGIN_OBJECTLIST\n"
                          "Empty =\n" +
                          std::string(5000, 'x') + "\n"
                          "Last = 1");
    std::vector<std::string> problems;
    std::vector<headless::ConfigLine> lines = headless::ReadConfigLines(in, &problems);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].key, "Mass");
    EXPECT_EQ(lines[0].value, "5.97e24");
    EXPECT_EQ(lines[0].number, 2);
    EXPECT_EQ(lines[1].key, "LOCATION");
    EXPECT_EQ(lines[1].value, "-82.4 23.1");
    EXPECT_EQ(lines[2].key, "Name");
    EXPECT_EQ(lines[2].value, "Cape Canaveral");
    EXPECT_EQ(lines[3].key, "BEGIN_OBJECTLIST");
    EXPECT_EQ(lines[3].value, "");
    EXPECT_EQ(lines[4].value, "");
    EXPECT_EQ(lines[5].key, "Last"); // no final line end
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(Mentions(problems, "line 8 is longer than 4096 characters"));

    // Numbers are whole words and finite.
    double v = 0.0;
    EXPECT_TRUE(headless::ParseNumber(" -1.5e3 ", &v));
    EXPECT_EQ(v, -1500.0);
    for (const char *bad : {"", "abc", "1.5kg", "nan", "inf", "1e999"})
        EXPECT_FALSE(headless::ParseNumber(bad, &v)) << bad;
    std::vector<double> values;
    EXPECT_TRUE(headless::ParseNumbers("1 2\t3", 3, &values));
    EXPECT_EQ(values, (std::vector<double>{1, 2, 3}));
    EXPECT_FALSE(headless::ParseNumbers("1 2 3 4", 3, &values));
    EXPECT_FALSE(headless::ParseNumbers("1 x", 3, &values));

    // A file of more lines than the bound is read to the bound.
    std::string many;
    for (size_t i = 0; i < headless::kMaxConfigLines + 5; ++i)
        many += "K = 1\n";
    std::istringstream big(many);
    problems.clear();
    EXPECT_EQ(headless::ReadConfigLines(big, &problems).size(), headless::kMaxConfigLines);
    EXPECT_TRUE(Mentions(problems, "more than 100000 lines"));
}

TEST(PlanetConfigTest, EarthsFiguresAndDamagedKeys)
{
    std::istringstream in("Name = Earth\n"
                          "Mass = 5.973698968e+24\n"
                          "Size = 6.37101e6\n"
                          "Obliquity = 0.4090928023\n"
                          "LAN = 0\n"
                          "LAN_MJD = 51544.5\n"
                          "SidRotOffset = 4.88948754\n"
                          "SidRotPeriod = 86164.10132\n"
                          "PrecessionPeriod = -9413040.4\n");
    headless::PlanetConfig cfg;
    std::vector<std::string> problems;
    headless::ReadPlanetConfig(in, &cfg, &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(cfg.massKg, 5.973698968e24);
    EXPECT_EQ(cfg.radiusMetres, 6.37101e6);
    EXPECT_EQ(cfg.rotation.obliquityRad, 0.4090928023);
    EXPECT_EQ(cfg.rotation.rotationOffsetRad, 4.88948754);
    EXPECT_EQ(cfg.rotation.siderealPeriodSeconds, 86164.10132);
    EXPECT_EQ(cfg.rotation.precessionPeriodDays, -9413040.4);
    EXPECT_FALSE(cfg.hasOrbit);

    // Damaged and missing keys keep what was there before, each reported.
    headless::PlanetConfig before = headless::BuiltInEarth();
    headless::PlanetConfig damaged = before;
    std::istringstream bad("Mass = -5\nSize = big\nObliquity = 4\nSidRotPeriod = 0\nLAN = 0.5\n");
    problems.clear();
    headless::ReadPlanetConfig(bad, &damaged, &problems);
    EXPECT_EQ(damaged.massKg, before.massKg);
    EXPECT_EQ(damaged.radiusMetres, before.radiusMetres);
    EXPECT_EQ(damaged.rotation.obliquityRad, before.rotation.obliquityRad);
    EXPECT_EQ(damaged.rotation.siderealPeriodSeconds, before.rotation.siderealPeriodSeconds);
    EXPECT_EQ(damaged.rotation.equatorNodeRad, 0.5); // the one good line
    EXPECT_TRUE(Mentions(problems, "line 1: Mass \"-5\" is not a valid value"));
    EXPECT_TRUE(Mentions(problems, "Size damaged: built-in value kept"));
    EXPECT_TRUE(Mentions(problems, "SidRotOffset missing: built-in value kept"));
}

TEST(PlanetConfigTest, AMoonsOrbitIsTakenWholeOrNotAtAll)
{
    const std::string orbit = "OrbitEpoch = 51544.5\nSemiMajorAxis = 3.84399e8\nEccentricity = 0.0549\n"
                              "Inclination = 0.0898\nLongAscNode = 2.18\nLongPeriapsis = 1.45\n";
    headless::PlanetConfig cfg = headless::BuiltInMoon();
    std::istringstream whole(orbit + "MeanLongitude = 1.0\n");
    headless::ReadPlanetConfig(whole, &cfg, nullptr);
    EXPECT_TRUE(cfg.hasOrbit);
    EXPECT_EQ(cfg.orbit.a, 3.84399e8);
    EXPECT_EQ(cfg.orbit.L, 1.0);

    // An eccentricity of 1 is no ellipse: the built-in orbit stays whole.
    cfg = headless::BuiltInMoon();
    std::string openOrbit = orbit;
    openOrbit.replace(openOrbit.find("0.0549"), 6, "1");
    std::istringstream open(openOrbit + "MeanLongitude = 1.0\n");
    std::vector<std::string> problems;
    headless::ReadPlanetConfig(open, &cfg, &problems);
    EXPECT_TRUE(cfg.hasOrbit);
    EXPECT_EQ(cfg.orbit.L, headless::BuiltInMoon().orbit.L);
    EXPECT_TRUE(Mentions(problems, "Eccentricity \"1\""));

    cfg = headless::BuiltInMoon();
    std::istringstream partial(orbit);
    problems.clear();
    headless::ReadPlanetConfig(partial, &cfg, &problems);
    EXPECT_EQ(cfg.orbit.i, headless::BuiltInMoon().orbit.i);
    EXPECT_TRUE(Mentions(problems, "orbit missing or incomplete"));
}

TEST(VesselClassConfigTest, KeysTanksFocusAndDamage)
{
    std::istringstream in("ClassName = DeltaGlider\n"
                          "size = 10\n"
                          "MASS = 11000\n"
                          "MaxFuel = 10400 600\n"
                          "MaxMainThrust = 320000\n"
                          "Isp = 40000\n"
                          "MeshName = DG\\deltaglider\n"
                          "EnableFocus = false\n");
    std::vector<std::string> problems;
    headless::VesselClassConfig cfg = headless::ReadVesselClassConfig(in, &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(cfg.className, "DeltaGlider");
    EXPECT_TRUE(cfg.module.empty());
    EXPECT_EQ(cfg.sizeMetres, 10.0);
    EXPECT_EQ(cfg.emptyMassKg, 11000.0);
    EXPECT_EQ(cfg.tankCapacitiesKg, (std::vector<double>{10400, 600}));
    EXPECT_TRUE(cfg.hasMainEngine);
    EXPECT_EQ(cfg.mainThrustNewton, 320000.0);
    EXPECT_EQ(cfg.mainIspMetresPerSecond, 40000.0);
    EXPECT_EQ(cfg.meshName, "DG\\deltaglider");
    EXPECT_FALSE(cfg.enableFocus);

    std::istringstream bad("Module = Korvane\nMass = -1\nMaxFuel = 100 -5\nIsp = 0\nMaxMainThrust = 1000\n"
                           "EnableFocus = maybe\nSize = 0\n");
    problems.clear();
    cfg = headless::ReadVesselClassConfig(bad, &problems);
    EXPECT_EQ(cfg.module, "Korvane");
    EXPECT_FALSE(cfg.hasEmptyMass);
    EXPECT_TRUE(cfg.tankCapacitiesKg.empty());
    EXPECT_FALSE(cfg.hasMainEngine); // the thrust alone is no engine
    EXPECT_TRUE(cfg.enableFocus);
    EXPECT_FALSE(cfg.hasSize);
    EXPECT_EQ(problems.size(), 6u);
    EXPECT_TRUE(Mentions(problems, "needs both MaxMainThrust and Isp"));
}

TEST(BaseConfigTest, NameLocationAndPads)
{
    std::istringstream in("BASE-V2.0\n"
                          "name Habana\n"
                          "Location = -82.3666 23.1136\n"
                          "BEGIN_OBJECTLIST\n"
                          "LPAD2\n  POS -120 0 80\n  TEX Lpad02\nEND\n"
                          "RUNWAY\n  POS 1000 0 1000\nEND\n"
                          "LPAD1\nEND\n"
                          "LPAD2A\n  POS 1 2\nEND\n"
                          "END_OBJECTLIST\n");
    std::vector<std::string> problems;
    headless::BaseConfig base = headless::ReadBaseConfig(in, &problems);
    EXPECT_EQ(base.name, "Habana");
    ASSERT_TRUE(base.hasLocation);
    EXPECT_EQ(base.lonDeg, -82.3666);
    EXPECT_EQ(base.latDeg, 23.1136);
    // Three pads: the runway is none; a pad without POS, or with a damaged
    // one, is at the base's reference point.
    ASSERT_EQ(base.padsMetres.size(), 3u);
    EXPECT_EQ(base.padsMetres[0].x, -120.0);
    EXPECT_EQ(base.padsMetres[0].z, 80.0);
    EXPECT_EQ(base.padsMetres[1].x, 0.0);
    EXPECT_EQ(base.padsMetres[2].z, 0.0);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(Mentions(problems, "POS needs three numbers"));

    // Pad 1 is 120 m west and 80 m north: on a sphere of 6371010 m that is
    // 80 / R rad of latitude and -120 / (R cos lat) rad of longitude.
    const double R = 6371010.0;
    double lon = 0.0, lat = 0.0;
    ASSERT_TRUE(headless::PadLocation(base, 1, R, &lon, &lat));
    double expectedLat = 23.1136 * kPi / 180 + 80.0 / R;
    EXPECT_NEAR(lat, expectedLat, 1e-15);
    EXPECT_NEAR(lon, -82.3666 * kPi / 180 - 120.0 / (R * std::cos(expectedLat)), 1e-15);
    ASSERT_TRUE(headless::PadLocation(base, 0, R, &lon, &lat));
    EXPECT_NEAR(lat, 23.1136 * kPi / 180, 1e-15);
    EXPECT_FALSE(headless::PadLocation(base, 4, R, &lon, &lat));
    EXPECT_FALSE(headless::PadLocation(base, -1, R, &lon, &lat));

    // A damaged location: no place at all; a pad beyond the pole: none.
    std::istringstream damaged("Name = X\nLOCATION 10\nBEGIN_OBJECTLIST\nLPAD2\nPOS 0 0 1e9\nEND\nEND_OBJECTLIST\n");
    problems.clear();
    base = headless::ReadBaseConfig(damaged, &problems);
    EXPECT_FALSE(base.hasLocation);
    EXPECT_TRUE(Mentions(problems, "LOCATION needs a longitude and a latitude"));
    EXPECT_FALSE(headless::PadLocation(base, 0, R, &lon, &lat));
    base.hasLocation = true;
    EXPECT_FALSE(headless::PadLocation(base, 1, R, &lon, &lat));
}

TEST(PropellantTanksTest, HandlesStayValidAndForeignOnesAreRefused)
{
    headless::PropellantTanks tanks, other;
    ASSERT_TRUE(tanks.add(100.0, 150.0)); // filled to its capacity at most
    PROPELLANT_HANDLE first = tanks.handle(0);
    // Tens of thousands of tanks later the first handle still names the first tank.
    for (int i = 0; i < 50000; ++i)
        ASSERT_TRUE(tanks.add(1.0, 1.0));
    ASSERT_EQ(tanks.fromHandle(first), &tanks[0]);
    EXPECT_EQ(tanks.fromHandle(first)->massKg, 100.0);
    EXPECT_EQ(tanks.fromHandle(tanks.handle(50000)), &tanks[50000]);
    EXPECT_EQ(tanks.handle(50001), nullptr);

    // Another vessel's tank, any other pointer, null: refused.
    ASSERT_TRUE(other.add(5.0, 5.0));
    EXPECT_EQ(tanks.fromHandle(other.handle(0)), nullptr);
    int notATank = 0;
    EXPECT_EQ(tanks.fromHandle(&notATank), nullptr);
    EXPECT_EQ(tanks.fromHandle(nullptr), nullptr);
    EXPECT_EQ(tanks.totalMass(), 100.0 + 50000.0);

    // Draining empties the tanks in order.
    tanks.drain(100.5);
    EXPECT_EQ(tanks[0].massKg, 0.0);
    EXPECT_EQ(tanks[1].massKg, 0.5);
    EXPECT_EQ(tanks[2].massKg, 1.0);
}

TEST(PropellantTanksTest, NoMoreThanTheLimit)
{
    headless::PropellantTanks tanks;
    for (size_t i = 0; i < headless::kMaxTanksPerVessel; ++i)
        ASSERT_TRUE(tanks.add(1.0, 1.0));
    EXPECT_FALSE(tanks.add(1.0, 1.0));
    EXPECT_EQ(tanks.size(), 100000u);
}

} // namespace
