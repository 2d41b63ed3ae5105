// Host functions on the session's vessels: enumeration, creation during the
// run and deletion at the end of the frame.

#include <string>

#include "OrbiterAPI.h"
#include "headless/messages.h"
#include "headless/simulator.h"
#include "headless/vessel.h"
#include "headless/world.h"

using headless::Simulator;
using headless::World;

OBJHANDLE oapiGetVesselByIndex(int index)
{
    const std::vector<Vessel *> &vessels = World::instance().vessels();
    if (index < 0 || static_cast<size_t>(index) >= vessels.size())
        return nullptr;
    return vessels[static_cast<size_t>(index)]->handle();
}

DWORD oapiGetVesselCount() { return static_cast<DWORD>(World::instance().vessels().size()); }

OBJHANDLE oapiCreateVesselEx(const char *name, const char *classname, const void *status)
{
    Simulator *sim = Simulator::current();
    std::string error;
    OBJHANDLE h = nullptr;
    if (!sim)
        error = "no session is running";
    else if (!name || !classname || !status)
        error = "a name, a class and a status are needed";
    else
        h = sim->createVessel(name, classname, *static_cast<const VESSELSTATUS2 *>(status), &error);
    if (!h)
        headless::Report("oapiCreateVesselEx: " + error + ": no vessel made");
    return h;
}

bool oapiDeleteVessel(OBJHANDLE hVessel, OBJHANDLE hAlternativeCameraTarget)
{
    (void)hAlternativeCameraTarget; // the stand-in's camera follows the focus vessel
    Simulator *sim = Simulator::current();
    return sim && sim->requestDeletion(hVessel);
}
