// The entry points of the KorvaneNet plug-in: the simulator calls
// InitModule when it loads the plug-in (when the user activates it in the
// Launchpad's Modules tab, or at start if it is active) and ExitModule
// before it unloads it.

#include <new>

#include "OrbiterAPI.h"
#include "ModuleAPI.h"
#include "tracknet/network_module.h"

namespace {
tracknet::NetworkModule *g_module = nullptr;
} // namespace

DLLCLBK void InitModule(HINSTANCE hModule)
{
    g_module = new (std::nothrow) tracknet::NetworkModule(hModule);
    if (g_module)
        oapiRegisterModule(g_module);
}

DLLCLBK void ExitModule(HINSTANCE hModule)
{
    (void)hModule;
    delete g_module;
    g_module = nullptr;
}
