// The module's entry points, called by the host by their plain names.

#include <new>

#include "module/korvane.h"

DLLCLBK void InitModule(HINSTANCE hModule) { (void)hModule; }

DLLCLBK void ExitModule(HINSTANCE hModule) { (void)hModule; }

DLLCLBK VESSEL *ovcInit(OBJHANDLE hvessel, int flightmodel)
{
    // Nothing may propagate into the host: a failed allocation returns null.
    try {
        return new Korvane(hvessel, flightmodel);
    } catch (...) {
        return nullptr;
    }
}

DLLCLBK void ovcExit(VESSEL *vessel)
{
    delete static_cast<Korvane *>(vessel);
}
