#include "headless/atmosphere.h"

#include <cmath>

#include <gtest/gtest.h>

namespace headless {
namespace {

// The published tables give four or five significant figures.
constexpr double kTableRelTol = 1e-4;

// Geometric altitude (m) of a geopotential altitude h: z = r0 h / (r0 - h).
double GeometricFromGeopotential(double h)
{
    const double r0 = 6356766.0;
    return r0 * h / (r0 - h);
}

struct TableRow {
    double altitudeMetres; // geometric
    double temperatureKelvin;
    double pressurePascal;
    double densityKgPerCubicMetre;
};

void ExpectRow(const TableRow &row)
{
    SCOPED_TRACE(row.altitudeMetres);
    AtmosphereState s = StandardAtmosphere(row.altitudeMetres);
    EXPECT_NEAR(s.temperatureKelvin, row.temperatureKelvin, 0.001);
    EXPECT_NEAR(s.pressurePascal, row.pressurePascal, kTableRelTol * row.pressurePascal);
    EXPECT_NEAR(s.densityKgPerCubicMetre, row.densityKgPerCubicMetre, kTableRelTol * row.densityKgPerCubicMetre);
}

TEST(Atmosphere, PublishedTableValues)
{
    // U.S. Standard Atmosphere 1976, table I (geometric altitude); the
    // temperatures are the molecular-scale ones the layer formulas give.
    const TableRow rows[] = {
        {-1000.0, 294.651, 1.1393e5, 1.3470},
        {0.0, 288.15, 101325.0, 1.2250},
        {1000.0, 281.651, 8.9876e4, 1.1117},
        {5000.0, 255.676, 5.4048e4, 7.3643e-1},
        {11000.0, 216.774, 2.2700e4, 3.6480e-1},
        {20000.0, 216.65, 5.5293e3, 8.8910e-2},
        {30000.0, 226.509, 1.1970e3, 1.8410e-2},
        {32000.0, 228.490, 8.8906e2, 1.3555e-2},
        {40000.0, 250.350, 2.8714e2, 3.9957e-3},
        {50000.0, 270.65, 7.9779e1, 1.0269e-3},
        {60000.0, 247.021, 2.1958e1, 3.0968e-4},
        {70000.0, 219.585, 5.2209, 8.2829e-5},
        {80000.0, 198.639, 1.0524, 1.8458e-5},
        {86000.0, 186.946, 3.7338e-1, 6.958e-6},
    };
    for (const TableRow &row : rows)
        ExpectRow(row);

    // The same standard tabulated by geopotential altitude: 11 km and 20 km
    // geopotential lie 19 m and 63 m higher than the geometric ones.
    ExpectRow({GeometricFromGeopotential(11000.0), 216.65, 2.2632e4, 3.6392e-1});
    ExpectRow({GeometricFromGeopotential(20000.0), 216.65, 5.4749e3, 8.8035e-2});
}

TEST(Atmosphere, UpperTailAndLimits)
{
    // Above 86 km temperature holds and pressure and density fall by e every
    // scale height R T / g0 = 287.05287 * 186.946 / 9.80665 = 5472.1 m.
    const double scaleHeight = 287.05287 * 186.946 / 9.80665;
    AtmosphereState at86 = StandardAtmosphere(86000.0);
    AtmosphereState higher = StandardAtmosphere(86000.0 + scaleHeight);
    EXPECT_NEAR(higher.pressurePascal, at86.pressurePascal / std::exp(1.0), 1e-4 * at86.pressurePascal);
    EXPECT_NEAR(higher.densityKgPerCubicMetre, at86.densityKgPerCubicMetre / std::exp(1.0),
                1e-4 * at86.densityKgPerCubicMetre);
    AtmosphereState at400 = StandardAtmosphere(400e3);
    EXPECT_NEAR(at400.temperatureKelvin, 186.946, 0.001);
    EXPECT_NEAR(at400.pressurePascal, 3.7338e-1 * std::exp(-314e3 / scaleHeight), 1e-3 * at400.pressurePascal);

    // No step across 86 km: a centimetre either side, pressure and density
    // differ by about 0.02 / 5472 and temperature by 2 K/km * 0.02 m.
    AtmosphereState below = StandardAtmosphere(86000.0 - 0.01);
    AtmosphereState above = StandardAtmosphere(86000.0 + 0.01);
    EXPECT_NEAR(above.pressurePascal / below.pressurePascal, 1.0, 1e-5);
    EXPECT_NEAR(above.densityKgPerCubicMetre / below.densityKgPerCubicMetre, 1.0, 1e-5);
    EXPECT_NEAR(above.temperatureKelvin, below.temperatureKelvin, 1e-4);

    // Vacuum above 1000 km, with the temperature still held.
    EXPECT_GT(StandardAtmosphere(999e3).pressurePascal, 0.0);
    for (double z : {1000.001e3, 36000e3}) {
        AtmosphereState s = StandardAtmosphere(z);
        EXPECT_EQ(s.pressurePascal, 0.0);
        EXPECT_EQ(s.densityKgPerCubicMetre, 0.0);
        EXPECT_NEAR(s.temperatureKelvin, 186.946, 0.001);
    }

    // Deep below the surface: the values at -5 km, not nonsense.
    AtmosphereState floor = StandardAtmosphere(-5000.0);
    AtmosphereState deep = StandardAtmosphere(-6.0e6);
    EXPECT_EQ(deep.temperatureKelvin, floor.temperatureKelvin);
    EXPECT_EQ(deep.pressurePascal, floor.pressurePascal);
    EXPECT_NEAR(floor.temperatureKelvin, 320.676, 0.001);

    // Pressure and density fall steadily all the way up.
    AtmosphereState prev = StandardAtmosphere(-5000.0);
    for (double z = -4900.0; z < 1000e3; z += 100.0) {
        AtmosphereState s = StandardAtmosphere(z);
        ASSERT_LT(s.pressurePascal, prev.pressurePascal) << z;
        ASSERT_LT(s.densityKgPerCubicMetre, prev.densityKgPerCubicMetre) << z;
        prev = s;
    }
}

TEST(Atmosphere, SpeedOfSound)
{
    EXPECT_NEAR(SpeedOfSound(288.15), 340.29, 0.005);
    EXPECT_NEAR(SpeedOfSound(216.65), 295.07, 0.005);
}

} // namespace
} // namespace headless
