#include "headless/vessel_config.h"

#include "headless/config_file.h"
#include "headless/propellant.h"

namespace headless {

VesselClassConfig ReadVesselClassConfig(std::istream &in, std::vector<std::string> *problems)
{
    VesselClassConfig cfg;
    bool hasThrust = false, hasIsp = false;
    for (const ConfigLine &line : ReadConfigLines(in, problems)) {
        double v = 0.0;
        bool good = true;
        if (SameText(line.key, "ClassName")) {
            cfg.className = line.value;
        } else if (SameText(line.key, "Module")) {
            cfg.module = line.value;
        } else if (SameText(line.key, "MeshName")) {
            cfg.meshName = line.value;
        } else if (SameText(line.key, "Size")) {
            good = ParseNumber(line.value, &v) && v > 0.0;
            if (good) {
                cfg.sizeMetres = v;
                cfg.hasSize = true;
            }
        } else if (SameText(line.key, "Mass")) {
            good = ParseNumber(line.value, &v) && v >= 0.0;
            if (good) {
                cfg.emptyMassKg = v;
                cfg.hasEmptyMass = true;
            }
        } else if (SameText(line.key, "MaxFuel")) {
            std::vector<double> capacities;
            good = ParseNumbers(line.value, kMaxTanksPerVessel, &capacities) && !capacities.empty();
            for (double c : capacities)
                good = good && c >= 0.0;
            if (good)
                cfg.tankCapacitiesKg = capacities;
        } else if (SameText(line.key, "MaxMainThrust")) {
            good = ParseNumber(line.value, &v) && v >= 0.0;
            if (good) {
                cfg.mainThrustNewton = v;
                hasThrust = true;
            }
        } else if (SameText(line.key, "Isp")) {
            good = ParseNumber(line.value, &v) && v > 0.0;
            if (good) {
                cfg.mainIspMetresPerSecond = v;
                hasIsp = true;
            }
        } else if (SameText(line.key, "EnableFocus")) {
            good = SameText(line.value, "TRUE") || SameText(line.value, "FALSE");
            if (good)
                cfg.enableFocus = SameText(line.value, "TRUE");
        }
        if (!good && problems)
            problems->push_back("line " + std::to_string(line.number) + ": " + line.key + " \"" + line.value +
                                "\" is not a valid value");
    }
    cfg.hasMainEngine = hasThrust && hasIsp;
    if (hasThrust != hasIsp && problems)
        problems->push_back("a main engine needs both MaxMainThrust and Isp: no main engine");
    return cfg;
}

} // namespace headless
