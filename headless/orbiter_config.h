// The simulator's main configuration file, Orbiter.cfg in the simulator
// root, as the stand-in reads it: the list of active plug-in modules, in the
// simulator's configuration format (config_file.h).
//
//   ; === Active plugin list ===
//   ACTIVE_MODULES
//     ScnEditor
//     KorvaneNet                a plug-in in Modules/Plugin/KorvaneNet.so
//   END_MODULES
//
// Each line of the block names one module, as the Launchpad's Modules tab
// writes it: the library's file name without its folder and extension.
// Every other line of the file is ignored. A block that the file leaves
// open ends with the file.
//
// Refused (each reported as a problem, the other names kept): a line that
// is not one plain name (blanks or '=' in it, a folder separator, "..", a
// leading '.', more than kMaxModuleNameLength characters), a name listed
// already (ignoring case, as the simulator's platform matches file names),
// and names after the first kMaxActiveModules. The bounds of config_file.h
// (line length, number of lines) apply as well.

#ifndef KORVANE_HEADLESS_ORBITER_CONFIG_H
#define KORVANE_HEADLESS_ORBITER_CONFIG_H

#include <istream>
#include <string>
#include <vector>

namespace headless {

constexpr size_t kMaxActiveModules = 256;
constexpr size_t kMaxModuleNameLength = 255;

struct OrbiterConfig {
    std::vector<std::string> activeModules; // in file order
};

OrbiterConfig ReadOrbiterConfig(std::istream &in, std::vector<std::string> *problems);

} // namespace headless

#endif // KORVANE_HEADLESS_ORBITER_CONFIG_H
