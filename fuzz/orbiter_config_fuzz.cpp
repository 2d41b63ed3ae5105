// The simulator root's Orbiter.cfg, as the stand-in reads its list of active
// plug-ins. Whatever the bytes, every name kept can only mean a file in
// Modules/Plugin, no name is kept twice, and the list stays within its bound.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <strings.h>

#include "headless/orbiter_config.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    std::vector<std::string> problems;
    headless::OrbiterConfig cfg = headless::ReadOrbiterConfig(in, &problems);
    Check(cfg.activeModules.size() <= headless::kMaxActiveModules);
    for (size_t i = 0; i < cfg.activeModules.size(); ++i) {
        const std::string &name = cfg.activeModules[i];
        Check(!name.empty() && name.size() <= headless::kMaxModuleNameLength && name[0] != '.');
        Check(name.find_first_of("/\\ \t=;\r\n") == std::string::npos && name.find("..") == std::string::npos);
        for (size_t j = 0; j < i; ++j)
            Check(strcasecmp(name.c_str(), cfg.activeModules[j].c_str()) != 0);
    }
    return 0;
}
