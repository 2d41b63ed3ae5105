// Orbiter host interface: the vessel base classes VESSEL, VESSEL2, VESSEL3.
//
// A vessel module derives its class from VESSEL3 and overrides the callbacks
// it needs. The VESSEL members reach the host's own vessel object; every
// callback default saves or loads the generic state or does nothing.

#ifndef KORVANE_HOST_VESSELAPI_H
#define KORVANE_HOST_VESSELAPI_H

#include "DrawAPI.h"
#include "OrbiterAPI.h"

class Vessel; // the host's internal vessel

class VESSEL {
public:
    VESSEL(OBJHANDLE hVessel, int fmodel = 1);

    // Interface version: 0 for VESSEL, 1 for VESSEL2, 2 for VESSEL3.
    inline int Version() const { return version; }

    // Class capabilities
    void SetEmptyMass(double m) const;
    void SetClipRadius(double rad) const;
    void SetTouchdownPoints(const TOUCHDOWNVTX *tdvtx, DWORD ntdvtx) const;
    UINT AddMesh(MESHHANDLE hMesh, const VECTOR3 *ofs = 0) const;
    void SetMeshVisibilityMode(UINT idx, WORD mode) const;
    void SetCameraOffset(const VECTOR3 &co) const;
    void SetCameraCatchAngle(double cangle) const;
    void SetCameraRotationRange(double left, double right, double up, double down) const;
    void SetCameraShiftRange(const VECTOR3 &fpos, const VECTOR3 &lpos, const VECTOR3 &rpos) const;
    DEVMESHHANDLE GetDevMesh(VISHANDLE vis, UINT idx) const;

    // Scenario state
    void ParseScenarioLineEx(char *line, void *status) const;
    void SaveDefaultState(FILEHANDLE scn) const;

    // Identity and state. The const on the returned handles is the SDK's own
    // spelling; compilers that warn about it are quietened for these two.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
#endif
    const OBJHANDLE GetHandle() const;
    char *GetName() const;
    char *GetClassName() const;
    const OBJHANDLE GetSurfaceRef() const;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    void GetGlobalPos(VECTOR3 &pos) const;
    bool GetElements(OBJHANDLE hRef, ELEMENTS &el, ORBITPARAM *prm = 0, double mjd_ref = 0,
                     int frame = FRAME_ECL) const;
    DWORD GetFlightStatus() const;
    double GetPitch() const;
    double GetBank() const;
    double GetYaw() const;
    OBJHANDLE GetEquPos(double &longitude, double &latitude, double &radius) const;
    void GetAngularVel(VECTOR3 &avel) const;
    double GetAirspeed() const;
    double GetGroundspeed() const;
    double GetMachNumber() const;
    double GetAltitude() const;
    double GetAltitude(AltitudeMode mode, int *reslvl = 0);
    double GetMass() const;
    void GetGlobalOrientation(VECTOR3 &arot) const;
    double GetAtmTemperature() const;
    double GetAtmPressure() const;
    double GetAtmDensity() const;
    double GetDynPressure() const;

    // Propellant and thrust
    DWORD GetPropellantCount() const;
    PROPELLANT_HANDLE GetPropellantHandleByIndex(DWORD idx) const;
    double GetPropellantMass(PROPELLANT_HANDLE ph) const;
    double GetPropellantMaxMass(PROPELLANT_HANDLE ph) const;
    double GetThrusterGroupLevel(THGROUP_TYPE thgt) const;
    bool GetThrustVector(VECTOR3 &T) const;

protected:
    Vessel *vessel;
    short flightmodel;
    short version;
};

class VESSEL2 : public VESSEL {
public:
    VESSEL2(OBJHANDLE hVessel, int fmodel = 1);

    virtual void clbkSetClassCaps(FILEHANDLE cfg);
    virtual void clbkSaveState(FILEHANDLE scn);
    virtual void clbkLoadStateEx(FILEHANDLE scn, void *status);
    virtual void clbkSetStateEx(const void *status);
    virtual void clbkPostCreation();
    virtual void clbkFocusChanged(bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOldVessel);
    virtual void clbkPreStep(double simt, double simdt, double mjd);
    virtual void clbkPostStep(double simt, double simdt, double mjd);
    virtual bool clbkPlaybackEvent(double simt, double event_t, const char *event_type, const char *event);
    virtual void clbkVisualCreated(VISHANDLE vis, int refcount);
    virtual void clbkVisualDestroyed(VISHANDLE vis, int refcount);
    virtual void clbkDrawHUD(int mode, const HUDPAINTSPEC *hps, HDC hDC);
    virtual void clbkRCSMode(int mode);
    virtual void clbkADCtrlMode(DWORD mode);
    virtual void clbkHUDMode(int mode);
    virtual void clbkMFDMode(int mfd, int mode);
    virtual void clbkNavMode(int mode, bool active);
    virtual void clbkDockEvent(int dock, OBJHANDLE mate);
    virtual void clbkAnimate(double simt);
    virtual int clbkConsumeDirectKey(char *kstate);
    virtual int clbkConsumeBufferedKey(DWORD key, bool down, char *kstate);
    virtual bool clbkLoadGenericCockpit();
    virtual bool clbkLoadPanel(int id);
    virtual bool clbkPanelMouseEvent(int id, int event, int mx, int my);
    virtual bool clbkPanelRedrawEvent(int id, int event, SURFHANDLE surf);
    virtual bool clbkLoadVC(int id);
    virtual bool clbkVCMouseEvent(int id, int event, VECTOR3 &p);
    virtual bool clbkVCRedrawEvent(int id, int event, SURFHANDLE surf);
};

class VESSEL3 : public VESSEL2 {
public:
    VESSEL3(OBJHANDLE hVessel, int fmodel = 1);

    virtual bool clbkPanelMouseEvent(int id, int event, int mx, int my, void *context);
    virtual bool clbkPanelRedrawEvent(int id, int event, SURFHANDLE surf, void *context);
    // Message from another module; the meaning of msgid, prm and context is
    // agreed between the two modules. Returns 0 when not handled.
    virtual int clbkGeneric(int msgid = 0, int prm = 0, void *context = NULL);

    using VESSEL2::clbkPanelMouseEvent;
    using VESSEL2::clbkPanelRedrawEvent;
};

#endif // KORVANE_HOST_VESSELAPI_H
