// The plug-in module classes of ModuleAPI.h, module registration and the
// log.

#include "ModuleAPI.h"
#include "OrbiterAPI.h"
#include "headless/messages.h"
#include "headless/module_registry.h"
#include "headless/world.h"

using headless::World;

namespace {
// What ModuleNV::Version() reports in the stand-in.
constexpr int kModuleInterfaceVersion = 1;
} // namespace

oapi::ModuleNV::ModuleNV(HINSTANCE hDLL) : version(kModuleInterfaceVersion), hModule(hDLL) {}

double oapi::ModuleNV::GetSimTime() const { return World::instance().simTime(); }
double oapi::ModuleNV::GetSimStep() const { return World::instance().simStep(); }
double oapi::ModuleNV::GetSimMJD() const { return World::instance().mjd(); }

oapi::Module::Module(HINSTANCE hDLL) : ModuleNV(hDLL) {}

oapi::Module::~Module() { headless::ModuleRegistry::instance().remove(this); }

void oapi::Module::clbkSimulationStart(RenderMode mode) { (void)mode; }
void oapi::Module::clbkSimulationEnd() {}
void oapi::Module::clbkPreStep(double simt, double simdt, double mjd)
{
    (void)simt;
    (void)simdt;
    (void)mjd;
}
void oapi::Module::clbkPostStep(double simt, double simdt, double mjd)
{
    (void)simt;
    (void)simdt;
    (void)mjd;
}
void oapi::Module::clbkFocusChanged(OBJHANDLE new_focus, OBJHANDLE old_focus)
{
    (void)new_focus;
    (void)old_focus;
}
void oapi::Module::clbkTimeAccChanged(double new_warp, double old_warp)
{
    (void)new_warp;
    (void)old_warp;
}
void oapi::Module::clbkDeleteVessel(OBJHANDLE hVessel) { (void)hVessel; }
void oapi::Module::clbkPause(bool pause) { (void)pause; }

void oapiRegisterModule(oapi::Module *module) { headless::ModuleRegistry::instance().add(module); }

void oapiWriteLog(char *line) { headless::Report(line ? line : ""); }
