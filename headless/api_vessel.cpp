// The VESSEL members and the VESSEL2/VESSEL3 callback defaults: the vessel
// interface seen by modules, answered from the host's own Vessel object.

#include <algorithm>
#include <cmath>

#include "VesselAPI.h"
#include "headless/atmosphere.h"
#include "headless/attitude.h"
#include "headless/frames.h"
#include "headless/meshes.h"
#include "headless/scenario.h"
#include "headless/vecmath.h"
#include "headless/vessel.h"
#include "headless/world.h"

using headless::World;

namespace {

headless::AtmosphereState AtmosphereAround(const Vessel *v)
{
    if (v->ref != World::instance().earth())
        return headless::AtmosphereState{0.0, 0.0, 0.0};
    return headless::StandardAtmosphere(v->altitudeMeanRadius());
}

// The interface level a constructor records for the host (1 VESSEL, 2
// VESSEL2, 3 VESSEL3).
void RecordInterfaceLevel(Vessel *v, int level)
{
    if (v)
        v->interfaceVersion = level;
}

void HorizonAttitudeOf(const Vessel *v, double &pitch, double &yaw, double &bank)
{
    headless::VesselAxes axes = headless::AxesOfRotation(v->globalRotation());
    headless::HorizonAttitude(axes.forward, axes.up, v->relativePos(), v->ref->orientation(World::instance().mjd()),
                              pitch, yaw, bank);
}

} // namespace

// The interface versions are the simulator's: 0 for VESSEL, 1 for VESSEL2,
// 2 for VESSEL3.
VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel)
    : vessel(World::instance().vesselFromHandle(hVessel)), flightmodel(static_cast<short>(fmodel)), version(0)
{
    RecordInterfaceLevel(vessel, 1);
}

VESSEL2::VESSEL2(OBJHANDLE hVessel, int fmodel) : VESSEL(hVessel, fmodel)
{
    version = 1;
    RecordInterfaceLevel(vessel, 2);
}

VESSEL3::VESSEL3(OBJHANDLE hVessel, int fmodel) : VESSEL2(hVessel, fmodel)
{
    version = 2;
    RecordInterfaceLevel(vessel, 3);
}

// --- Class capabilities ------------------------------------------------------

void VESSEL::SetEmptyMass(double m) const
{
    if (vessel)
        vessel->emptyMassKg = m;
}

void VESSEL::SetClipRadius(double rad) const
{
    if (vessel)
        vessel->clipRadiusMetres = rad;
}

void VESSEL::SetTouchdownPoints(const TOUCHDOWNVTX *tdvtx, DWORD ntdvtx) const
{
    if (!vessel || !tdvtx)
        return;
    vessel->touchdownPoints.assign(tdvtx, tdvtx + ntdvtx);
}

UINT VESSEL::AddMesh(MESHHANDLE hMesh, const VECTOR3 *ofs) const
{
    if (!vessel)
        return 0;
    vessel->meshes.push_back(Vessel::MeshEntry{hMesh, ofs ? *ofs : _V(0, 0, 0), MESHVIS_EXTERNAL});
    return static_cast<UINT>(vessel->meshes.size() - 1);
}

void VESSEL::SetMeshVisibilityMode(UINT idx, WORD mode) const
{
    if (vessel && idx < vessel->meshes.size())
        vessel->meshes[idx].visibility = mode;
}

void VESSEL::SetCameraOffset(const VECTOR3 &co) const
{
    if (vessel)
        vessel->cameraOffset = co;
}

DEVMESHHANDLE VESSEL::GetDevMesh(VISHANDLE vis, UINT idx) const
{
    headless::Visual *visual = headless::Visual::fromHandle(vis);
    return visual ? visual->devMesh(idx) : nullptr;
}

// --- Scenario state ------------------------------------------------------------

void VESSEL::ParseScenarioLineEx(char *line, void *status) const
{
    (void)status;
    if (!vessel || !line)
        return;
    if (!vessel->parseLine(line))
        vessel->extraLines.push_back(line);
}

void VESSEL::SaveDefaultState(FILEHANDLE scn) const
{
    if (vessel && scn)
        vessel->writeState(*static_cast<headless::ScenarioWriter *>(scn), World::instance().simTime());
}

// --- Identity and state ----------------------------------------------------------

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
const OBJHANDLE VESSEL::GetHandle() const { return vessel ? vessel->handle() : nullptr; }

char *VESSEL::GetName() const { return vessel ? const_cast<char *>(vessel->name().c_str()) : nullptr; }

char *VESSEL::GetClassName() const { return vessel ? const_cast<char *>(vessel->className().c_str()) : nullptr; }

const OBJHANDLE VESSEL::GetSurfaceRef() const { return vessel ? vessel->ref->handle() : nullptr; }
#pragma GCC diagnostic pop

void VESSEL::GetGlobalPos(VECTOR3 &pos) const
{
    pos = vessel ? headless::ToSimulatorFrame(vessel->globalPos()) : _V(0, 0, 0);
}

bool VESSEL::GetElements(OBJHANDLE hRef, ELEMENTS &el, ORBITPARAM *prm, double mjd_ref, int frame) const
{
    auto *body = dynamic_cast<headless::Planet *>(World::instance().objectFromHandle(hRef));
    if (!vessel || !body)
        return false;
    double now = World::instance().mjd();
    // The internal frame is the ecliptic one; the equatorial frame is the
    // body's own (its equator and the equator's node at this date).
    headless::StateVector s{vessel->globalPos() - body->globalPos(), vessel->globalVel() - body->globalVel()};
    if (frame == FRAME_EQU) {
        MATRIX3 equator = body->equatorialOrientation(now);
        s.r = headless::tmul(equator, s.r);
        s.v = headless::tmul(equator, s.v);
    }
    return headless::ElementsFromState(s, body->mu(), now, mjd_ref != 0.0 ? mjd_ref : now, el, prm);
}

DWORD VESSEL::GetFlightStatus() const
{
    return vessel && vessel->status == Vessel::Status::Landed ? 1u : 0u;
}

double VESSEL::GetPitch() const
{
    if (!vessel)
        return 0.0;
    double pitch, yaw, bank;
    HorizonAttitudeOf(vessel, pitch, yaw, bank);
    return pitch;
}

double VESSEL::GetBank() const
{
    if (!vessel)
        return 0.0;
    double pitch, yaw, bank;
    HorizonAttitudeOf(vessel, pitch, yaw, bank);
    return bank;
}

double VESSEL::GetYaw() const
{
    if (!vessel)
        return 0.0;
    double pitch, yaw, bank;
    HorizonAttitudeOf(vessel, pitch, yaw, bank);
    return yaw;
}

OBJHANDLE VESSEL::GetEquPos(double &longitude, double &latitude, double &radius) const
{
    longitude = latitude = radius = 0.0;
    if (!vessel)
        return nullptr;
    headless::EquatorialFromRelative(vessel->relativePos(), vessel->ref->orientation(World::instance().mjd()),
                                     longitude, latitude, radius);
    return vessel->ref->handle();
}

void VESSEL::GetAngularVel(VECTOR3 &avel) const { avel = vessel ? vessel->angularVelRad : _V(0, 0, 0); }

double VESSEL::GetAirspeed() const { return vessel ? headless::length(vessel->airspeedVector()) : 0.0; }

double VESSEL::GetGroundspeed() const
{
    if (!vessel)
        return 0.0;
    // Speed over the ground: the horizontal part of the surface-relative velocity.
    VECTOR3 v = vessel->airspeedVector();
    VECTOR3 up = headless::unit(vessel->relativePos());
    return headless::length(v - up * headless::dot(v, up));
}

double VESSEL::GetMachNumber() const
{
    if (!vessel)
        return 0.0;
    headless::AtmosphereState atm = AtmosphereAround(vessel);
    if (atm.pressurePascal <= 0.0)
        return 0.0;
    return GetAirspeed() / headless::SpeedOfSound(atm.temperatureKelvin);
}

double VESSEL::GetAltitude() const { return vessel ? vessel->altitudeMeanRadius() : 0.0; }

double VESSEL::GetAltitude(AltitudeMode mode, int *reslvl)
{
    (void)mode; // the planet is a smooth sphere: ground height is the mean radius
    if (reslvl)
        *reslvl = 0;
    return vessel ? vessel->altitudeMeanRadius() : 0.0;
}

double VESSEL::GetMass() const { return vessel ? vessel->mass() : 0.0; }

void VESSEL::GetGlobalOrientation(VECTOR3 &arot) const
{
    arot = vessel ? headless::EulerFromRotation(vessel->globalRotation()) : _V(0, 0, 0);
}

double VESSEL::GetAtmTemperature() const { return vessel ? AtmosphereAround(vessel).temperatureKelvin : 0.0; }
double VESSEL::GetAtmPressure() const { return vessel ? AtmosphereAround(vessel).pressurePascal : 0.0; }
double VESSEL::GetAtmDensity() const { return vessel ? AtmosphereAround(vessel).densityKgPerCubicMetre : 0.0; }

double VESSEL::GetDynPressure() const
{
    if (!vessel)
        return 0.0;
    double v = GetAirspeed();
    return 0.5 * AtmosphereAround(vessel).densityKgPerCubicMetre * v * v;
}

// --- Propellant and thrust ---------------------------------------------------------

DWORD VESSEL::GetPropellantCount() const { return vessel ? static_cast<DWORD>(vessel->tanks.size()) : 0; }

PROPELLANT_HANDLE VESSEL::GetPropellantHandleByIndex(DWORD idx) const
{
    return vessel ? vessel->tanks.handle(idx) : nullptr;
}

double VESSEL::GetPropellantMass(PROPELLANT_HANDLE ph) const
{
    const headless::PropellantTanks::Tank *t = vessel ? vessel->tanks.fromHandle(ph) : nullptr;
    return t ? t->massKg : 0.0;
}

double VESSEL::GetPropellantMaxMass(PROPELLANT_HANDLE ph) const
{
    const headless::PropellantTanks::Tank *t = vessel ? vessel->tanks.fromHandle(ph) : nullptr;
    return t ? t->maxMassKg : 0.0;
}

double VESSEL::GetThrusterGroupLevel(THGROUP_TYPE thgt) const
{
    return vessel && thgt == THGROUP_MAIN ? vessel->mainLevel() : 0.0;
}

bool VESSEL::GetThrustVector(VECTOR3 &T) const
{
    double f = vessel ? vessel->thrustNewton() : 0.0;
    T = _V(0, 0, f); // along the vessel's forward axis
    return f > 0.0;
}

// --- VESSEL2 / VESSEL3 callback defaults ------------------------------------------------

void VESSEL2::clbkSetClassCaps(FILEHANDLE cfg) { (void)cfg; }
void VESSEL2::clbkSaveState(FILEHANDLE scn) { SaveDefaultState(scn); }

void VESSEL2::clbkLoadStateEx(FILEHANDLE scn, void *status)
{
    char *line = nullptr;
    while (oapiReadScenario_nextline(scn, line))
        ParseScenarioLineEx(line, status);
}

// As in the simulator, the default takes the whole VESSELSTATUS2.
void VESSEL2::clbkSetStateEx(const void *status)
{
    const auto *vs = static_cast<const VESSELSTATUS2 *>(status);
    if (vessel && vs && vs->version == 2)
        vessel->applyStatus(*vs);
}
void VESSEL2::clbkPostCreation() {}
void VESSEL2::clbkFocusChanged(bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOldVessel)
{
    (void)getfocus;
    (void)hNewVessel;
    (void)hOldVessel;
}
void VESSEL2::clbkPreStep(double simt, double simdt, double mjd)
{
    (void)simt;
    (void)simdt;
    (void)mjd;
}
void VESSEL2::clbkPostStep(double simt, double simdt, double mjd)
{
    (void)simt;
    (void)simdt;
    (void)mjd;
}
bool VESSEL2::clbkPlaybackEvent(double simt, double event_t, const char *event_type, const char *event)
{
    (void)simt;
    (void)event_t;
    (void)event_type;
    (void)event;
    return false;
}
void VESSEL2::clbkVisualCreated(VISHANDLE vis, int refcount)
{
    (void)vis;
    (void)refcount;
}
void VESSEL2::clbkVisualDestroyed(VISHANDLE vis, int refcount)
{
    (void)vis;
    (void)refcount;
}
void VESSEL2::clbkDrawHUD(int mode, const HUDPAINTSPEC *hps, HDC hDC)
{
    (void)mode;
    (void)hps;
    (void)hDC;
}
void VESSEL2::clbkRCSMode(int mode) { (void)mode; }
void VESSEL2::clbkADCtrlMode(DWORD mode) { (void)mode; }
void VESSEL2::clbkHUDMode(int mode) { (void)mode; }
void VESSEL2::clbkMFDMode(int mfd, int mode)
{
    (void)mfd;
    (void)mode;
}
void VESSEL2::clbkNavMode(int mode, bool active)
{
    (void)mode;
    (void)active;
}
void VESSEL2::clbkDockEvent(int dock, OBJHANDLE mate)
{
    (void)dock;
    (void)mate;
}
void VESSEL2::clbkAnimate(double simt) { (void)simt; }
int VESSEL2::clbkConsumeDirectKey(char *kstate)
{
    (void)kstate;
    return 0;
}
int VESSEL2::clbkConsumeBufferedKey(DWORD key, bool down, char *kstate)
{
    (void)key;
    (void)down;
    (void)kstate;
    return 0;
}
bool VESSEL2::clbkLoadGenericCockpit() { return false; }
bool VESSEL2::clbkLoadPanel(int id)
{
    (void)id;
    return false;
}
bool VESSEL2::clbkPanelMouseEvent(int id, int event, int mx, int my)
{
    (void)id;
    (void)event;
    (void)mx;
    (void)my;
    return false;
}
bool VESSEL2::clbkPanelRedrawEvent(int id, int event, SURFHANDLE surf)
{
    (void)id;
    (void)event;
    (void)surf;
    return false;
}
bool VESSEL2::clbkLoadVC(int id)
{
    (void)id;
    return false;
}
bool VESSEL2::clbkVCMouseEvent(int id, int event, VECTOR3 &p)
{
    (void)id;
    (void)event;
    (void)p;
    return false;
}
bool VESSEL2::clbkVCRedrawEvent(int id, int event, SURFHANDLE surf)
{
    (void)id;
    (void)event;
    (void)surf;
    return false;
}

bool VESSEL3::clbkPanelMouseEvent(int id, int event, int mx, int my, void *context)
{
    (void)id;
    (void)event;
    (void)mx;
    (void)my;
    (void)context;
    return false;
}
bool VESSEL3::clbkPanelRedrawEvent(int id, int event, SURFHANDLE surf, void *context)
{
    (void)id;
    (void)event;
    (void)surf;
    (void)context;
    return false;
}
int VESSEL3::clbkGeneric(int msgid, int prm, void *context)
{
    (void)msgid;
    (void)prm;
    (void)context;
    return 0;
}
