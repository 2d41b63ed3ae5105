#include "tracknet/network_module.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "VesselAPI.h"
#include "tracknet/site_vessels.h"

namespace tracknet {

namespace {

constexpr char kBuildingClassName[] = "Korvane";
// VESSEL::Version() of a VESSEL3, the first interface with clbkGeneric.
constexpr int kGenericMessageVersion = 2;

// The building's interface, or null unless vessel is a building that takes
// the message.
VESSEL3 *BuildingInterface(OBJHANDLE vessel)
{
    VESSEL *v = oapiIsVessel(vessel) ? oapiGetVesselInterface(vessel) : nullptr;
    if (!v || v->Version() < kGenericMessageVersion || !SameClassName(v->GetClassName(), kBuildingClassName))
        return nullptr;
    return static_cast<VESSEL3 *>(v);
}

// Runs a callback's work; a failure goes to the log instead of into the
// simulator.
template <typename Work>
void Guarded(const char *callback, Work work)
{
    const char *what = nullptr;
    try {
        work();
        return;
    } catch (const std::exception &e) {
        what = e.what();
    } catch (...) {
        what = "unknown error";
    }
    char line[256];
    std::snprintf(line, sizeof(line), "KorvaneNet: %s failed: %s", callback, what);
    oapiWriteLog(line);
}

} // namespace

NetworkModule::NetworkModule(HINSTANCE hDLL) : oapi::Module(hDLL) {}

NetworkModule::~NetworkModule() = default;

void NetworkModule::clbkSimulationStart(RenderMode mode)
{
    (void)mode;
    Guarded("clbkSimulationStart", [this] {
        network_ = Network::Create();
        network_->attachNodes();
        for (DWORD i = 0; i < oapiGetVesselCount(); ++i)
            handOver(oapiGetVesselByIndex(static_cast<int>(i)));
    });
}

void NetworkModule::clbkNewVessel(OBJHANDLE hVessel)
{
    Guarded("clbkNewVessel", [this, hVessel] {
        if (network_)
            handOver(hVessel);
    });
}

void NetworkModule::clbkDeleteVessel(OBJHANDLE hVessel)
{
    buildings_.erase(std::remove(buildings_.begin(), buildings_.end(), hVessel), buildings_.end());
    if (network_)
        network_->forgetVessel(hVessel);
}

void NetworkModule::clbkSimulationEnd()
{
    for (OBJHANDLE building : buildings_)
        if (VESSEL3 *v = BuildingInterface(building))
            v->clbkGeneric(kNetworkMessageId, kHandOverMessageParam, nullptr);
    buildings_.clear();
    if (network_)
        network_->releaseNodes();
    network_.reset();
}

void NetworkModule::handOver(OBJHANDLE vessel)
{
    VESSEL3 *building = BuildingInterface(vessel);
    if (!building || std::find(buildings_.begin(), buildings_.end(), vessel) != buildings_.end())
        return;
    buildings_.push_back(vessel);
    building->clbkGeneric(kNetworkMessageId, kHandOverMessageParam, network_->context());
}

} // namespace tracknet
