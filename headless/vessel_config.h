// Vessel class configuration files, Config/Vessels/<class>.cfg in the
// simulator root, in the simulator's configuration format (config_file.h).
// The stand-in reads these keys, the simulator's older configuration keys
// with several tanks allowed:
//
//   ClassName = DeltaGlider     the class's name (for the reader only)
//   Module = DeltaGlider        the module that makes vessels of the class
//                               (Modules/<Module>.so); without it the class
//                               is made from the keys below
//   Size = 10                   mean radius, m (> 0)
//   Mass = 11000                empty mass, kg (>= 0)
//   MaxFuel = 10400 600         one capacity (kg, >= 0) per propellant tank,
//                               tank 0 first; at most kMaxTanksPerVessel
//   MaxMainThrust = 320000      main engine thrust, N (>= 0)
//   Isp = 40000                 main engine exhaust velocity, m/s (> 0)
//   MeshName = ShuttleA         a mesh added to each vessel of the class
//   EnableFocus = FALSE         TRUE (the default) or FALSE: a vessel of the
//                               class can never become the focus
//
// Keys are compared ignoring case; other lines are ignored. A damaged value
// (not a number, out of its range, a word other than TRUE or FALSE) leaves
// the key unset and is reported as a problem.

#ifndef KORVANE_HEADLESS_VESSEL_CONFIG_H
#define KORVANE_HEADLESS_VESSEL_CONFIG_H

#include <istream>
#include <string>
#include <vector>

namespace headless {

struct VesselClassConfig {
    std::string className;
    std::string module;          // empty: no module
    bool hasSize = false;
    double sizeMetres = 0.0;
    bool hasEmptyMass = false;
    double emptyMassKg = 0.0;
    std::vector<double> tankCapacitiesKg;
    bool hasMainEngine = false;  // MaxMainThrust and Isp both given
    double mainThrustNewton = 0.0;
    double mainIspMetresPerSecond = 0.0;
    std::string meshName;
    bool enableFocus = true;
};

VesselClassConfig ReadVesselClassConfig(std::istream &in, std::vector<std::string> *problems);

} // namespace headless

#endif // KORVANE_HEADLESS_VESSEL_CONFIG_H
