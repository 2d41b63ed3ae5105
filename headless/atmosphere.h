// Earth's atmosphere after the US Standard Atmosphere 1976.

#ifndef KORVANE_HEADLESS_ATMOSPHERE_H
#define KORVANE_HEADLESS_ATMOSPHERE_H

namespace headless {

struct AtmosphereState {
    double temperatureKelvin;
    double pressurePascal;
    double densityKgPerCubicMetre;
};

// The seven layers of the standard up to 86 km geometric altitude (geopotential
// altitude for the layer formulas); above 86 km pressure and density decay
// exponentially with the scale height of the top layer, temperature held at
// its 86 km value; above 1000 km pressure and density are zero. Below 0 m the
// first layer's formulas are extrapolated down to -5 km, where the standard's
// tables start; anything lower gets the values at -5 km.
AtmosphereState StandardAtmosphere(double altitudeMetres);

// Speed of sound (m/s) in dry air at temperature T (K): sqrt(gamma R T).
double SpeedOfSound(double temperatureKelvin);

} // namespace headless

#endif // KORVANE_HEADLESS_ATMOSPHERE_H
