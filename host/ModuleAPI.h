// Orbiter host interface: the plug-in module class (namespace oapi).
//
// A plug-in that is not a vessel module (a tracking network, a tool, an
// MFD mode) derives a class from oapi::Module, registers one instance with
// oapiRegisterModule in its InitModule and deletes it in its ExitModule. The
// host then calls the instance's callbacks: session start and end, every
// time step, and the creation and destruction of vessels during the run.
// The callbacks with a body here have the same empty defaults in the
// simulator's SDK; the host defines the others.

#ifndef KORVANE_HOST_MODULEAPI_H
#define KORVANE_HOST_MODULEAPI_H

#include "OrbiterAPI.h"

namespace oapi {

class OAPIFUNC ModuleNV {
public:
    // hDLL: the plug-in's library instance, as InitModule received it.
    ModuleNV(HINSTANCE hDLL);

    inline int Version() const { return version; }
    inline HINSTANCE GetModule() const { return hModule; }

    // Simulation time since the session started (s), the last step's
    // length (s), and the date (MJD).
    double GetSimTime() const;
    double GetSimStep() const;
    double GetSimMJD() const;

protected:
    int version;
    HINSTANCE hModule;
};

class OAPIFUNC Module : public ModuleNV {
public:
    Module(HINSTANCE hDLL);
    virtual ~Module();

    enum RenderMode {
        RENDER_NONE,       // no graphics support
        RENDER_FULLSCREEN, // fullscreen mode
        RENDER_WINDOW      // windowed mode
    };

    // After a session's objects exist and their states are set.
    virtual void clbkSimulationStart(RenderMode mode);
    // Just before a session ends, while its objects still exist.
    virtual void clbkSimulationEnd();
    // Every time step, before and after the state is brought to simt.
    virtual void clbkPreStep(double simt, double simdt, double mjd);
    virtual void clbkPostStep(double simt, double simdt, double mjd);
    virtual void clbkTimeJump(double simt, double simdt, double mjd)
    {
        (void)simt;
        (void)simdt;
        (void)mjd;
    }
    virtual void clbkFocusChanged(OBJHANDLE new_focus, OBJHANDLE old_focus);
    virtual void clbkTimeAccChanged(double new_warp, double old_warp);
    // A vessel created during the run (not those of the scenario).
    virtual void clbkNewVessel(OBJHANDLE hVessel) { (void)hVessel; }
    // A vessel about to be destroyed: its handle is invalid once this returns.
    virtual void clbkDeleteVessel(OBJHANDLE hVessel);
    virtual void clbkVesselJump(OBJHANDLE hVessel) { (void)hVessel; }
    virtual void clbkPause(bool pause);
    virtual bool clbkProcessMouse(UINT event, DWORD state, DWORD x, DWORD y)
    {
        (void)event;
        (void)state;
        (void)x;
        (void)y;
        return false;
    }
    virtual bool clbkProcessKeyboardImmediate(char kstate[256], bool simRunning)
    {
        (void)kstate;
        (void)simRunning;
        return false;
    }
    virtual bool clbkProcessKeyboardBuffered(DWORD key, char kstate[256], bool simRunning)
    {
        (void)key;
        (void)kstate;
        (void)simRunning;
        return false;
    }
};

} // namespace oapi

#endif // KORVANE_HOST_MODULEAPI_H
