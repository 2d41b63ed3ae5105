// The lower atmosphere follows U.S. Standard Atmosphere, 1976 (NOAA/NASA/USAF,
// NOAA-S/T 76-1562): molecular-scale temperature linear in geopotential
// altitude within seven layers, hydrostatic pressure, and the ideal gas law
// for density.

#include "headless/atmosphere.h"

#include <algorithm>
#include <cmath>

namespace headless {

namespace {

constexpr double kEffectiveEarthRadiusMetres = 6356766.0; // r0 of the standard
constexpr double kStandardGravity = 9.80665;               // g0, m/s^2
constexpr double kGasConstant = 287.05287;                 // R* / M0, J/(kg K)
constexpr double kHeatCapacityRatio = 1.4;
constexpr double kSeaLevelTemperatureKelvin = 288.15;
constexpr double kSeaLevelPressurePascal = 101325.0;

// Above this geometric altitude the layers end and the exponential tail
// begins; above the next there is no atmosphere at all.
constexpr double kLayersTopMetres = 86000.0;
constexpr double kAtmosphereTopMetres = 1000000.0;

// The standard's tables start at -5 km; lower altitudes (a vessel under the
// ground) get the values there.
constexpr double kLowestAltitudeMetres = -5000.0;

struct Layer {
    double baseGeopotentialMetres;
    double lapseKelvinPerMetre;
};

constexpr Layer kLayers[] = {
    {0.0, -0.0065}, {11000.0, 0.0}, {20000.0, 0.001}, {32000.0, 0.0028},
    {47000.0, 0.0}, {51000.0, -0.0028}, {71000.0, -0.002},
};
constexpr int kLayerCount = sizeof(kLayers) / sizeof(kLayers[0]);

double GeopotentialFromGeometric(double altitudeMetres)
{
    return kEffectiveEarthRadiusMetres * altitudeMetres / (kEffectiveEarthRadiusMetres + altitudeMetres);
}

// Temperature and pressure at the top of a layer of the given thickness
// (geopotential metres), from those at its base.
void AcrossLayer(const Layer &layer, double thicknessMetres, double &temperature, double &pressure)
{
    double base = temperature;
    if (layer.lapseKelvinPerMetre == 0.0) {
        pressure *= std::exp(-kStandardGravity * thicknessMetres / (kGasConstant * base));
    } else {
        temperature = base + layer.lapseKelvinPerMetre * thicknessMetres;
        pressure *= std::pow(base / temperature, kStandardGravity / (kGasConstant * layer.lapseKelvinPerMetre));
    }
}

// Temperature and pressure from the layer formulas at a geopotential altitude.
void LayeredAtmosphere(double geopotentialMetres, double &temperature, double &pressure)
{
    temperature = kSeaLevelTemperatureKelvin;
    pressure = kSeaLevelPressurePascal;
    for (int k = 0; k < kLayerCount; ++k) {
        bool last = k + 1 == kLayerCount;
        double top = last ? geopotentialMetres : std::min(kLayers[k + 1].baseGeopotentialMetres, geopotentialMetres);
        if (k > 0 && top <= kLayers[k].baseGeopotentialMetres)
            break;
        AcrossLayer(kLayers[k], top - kLayers[k].baseGeopotentialMetres, temperature, pressure);
    }
}

} // namespace

AtmosphereState StandardAtmosphere(double altitudeMetres)
{
    double z = std::max(altitudeMetres, kLowestAltitudeMetres);
    AtmosphereState s;
    if (z <= kLayersTopMetres) {
        LayeredAtmosphere(GeopotentialFromGeometric(z), s.temperatureKelvin, s.pressurePascal);
        s.densityKgPerCubicMetre = s.pressurePascal / (kGasConstant * s.temperatureKelvin);
        return s;
    }
    LayeredAtmosphere(GeopotentialFromGeometric(kLayersTopMetres), s.temperatureKelvin, s.pressurePascal);
    if (z > kAtmosphereTopMetres) {
        s.pressurePascal = 0.0;
        s.densityKgPerCubicMetre = 0.0;
        return s;
    }
    double scaleHeightMetres = kGasConstant * s.temperatureKelvin / kStandardGravity;
    s.pressurePascal *= std::exp(-(z - kLayersTopMetres) / scaleHeightMetres);
    s.densityKgPerCubicMetre = s.pressurePascal / (kGasConstant * s.temperatureKelvin);
    return s;
}

double SpeedOfSound(double temperatureKelvin)
{
    return std::sqrt(kHeatCapacityRatio * kGasConstant * temperatureKelvin);
}

} // namespace headless
