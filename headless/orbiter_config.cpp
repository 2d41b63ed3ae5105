#include "headless/orbiter_config.h"

#include <strings.h>

#include "headless/config_file.h"

namespace headless {

namespace {

// A name that can only mean a file in Modules/Plugin.
bool IsPlainModuleName(const std::string &name)
{
    return !name.empty() && name.size() <= kMaxModuleNameLength && name[0] != '.' &&
           name.find_first_of("/\\") == std::string::npos && name.find("..") == std::string::npos;
}

bool Listed(const std::vector<std::string> &names, const std::string &name)
{
    for (const std::string &n : names)
        if (strcasecmp(n.c_str(), name.c_str()) == 0)
            return true;
    return false;
}

} // namespace

OrbiterConfig ReadOrbiterConfig(std::istream &in, std::vector<std::string> *problems)
{
    OrbiterConfig cfg;
    bool inBlock = false, capReported = false;
    auto problem = [problems](int number, const std::string &text) {
        if (problems)
            problems->push_back("line " + std::to_string(number) + ": " + text);
    };
    for (const ConfigLine &line : ReadConfigLines(in, problems)) {
        if (!inBlock) {
            inBlock = SameText(line.key, "ACTIVE_MODULES") && line.value.empty();
            continue;
        }
        if (SameText(line.key, "END_MODULES") && line.value.empty()) {
            inBlock = false;
            continue;
        }
        if (!line.value.empty() || !IsPlainModuleName(line.key)) {
            problem(line.number, "\"" + line.key + (line.value.empty() ? "" : " " + line.value) +
                                     "\" is not the name of a module: skipped");
        } else if (Listed(cfg.activeModules, line.key)) {
            problem(line.number, "module " + line.key + " is listed twice: the second is skipped");
        } else if (cfg.activeModules.size() >= kMaxActiveModules) {
            if (!capReported)
                problem(line.number, "more than " + std::to_string(kMaxActiveModules) +
                                         " active modules: this one and those after it are skipped");
            capReported = true;
        } else {
            cfg.activeModules.push_back(line.key);
        }
    }
    return cfg;
}

} // namespace headless
