// The tracking-network boundary's checks as a program of its own, built with
// -m32 so that the layout's offsets are proven at 32-bit pointer size, the
// simulator's: the building's reads against objects laid out byte by byte,
// and against the network plug-in's own objects.

#include <cstdio>

#include "network/boundary_checks.h"

namespace pluginside {
// plugin_side_checks.cpp: a message per failure.
std::vector<std::string> RunPluginSideChecks();
} // namespace pluginside

int main()
{
    std::vector<std::string> failures = boundarycheck::RunBoundaryChecks();
    for (const std::string &f : pluginside::RunPluginSideChecks())
        failures.push_back(f);
    for (const std::string &f : failures)
        std::printf("FAILED: %s\n", f.c_str());
    std::printf("network boundary, %d-bit pointers: %s\n", static_cast<int>(8 * sizeof(void *)),
                failures.empty() ? "all checks passed" : "checks failed");
    return failures.empty() ? 0 : 1;
}
