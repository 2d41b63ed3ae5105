// Orbiter host interface: global types, constants and oapi functions.
//
// This is the add-on's own stand-in for the simulator's SDK header of the same
// name. Names, parameter types and order, default arguments, constants and
// struct member order follow the simulator's SDK so that the module compiles
// against either. On Windows the real SDK is used instead of this directory.

#ifndef KORVANE_HOST_ORBITERAPI_H
#define KORVANE_HOST_ORBITERAPI_H

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Platform adaptations: Win32 types and linkage macros.
// ---------------------------------------------------------------------------
#ifdef _WIN32
#include <windows.h>
#define DLLCLBK extern "C" __declspec(dllexport)
#define OAPIFUNC __declspec(dllimport)
#else
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef uint16_t WORD;
typedef int BOOL;
typedef int32_t LONG;
typedef void *HINSTANCE;
typedef void *HDC;
typedef void *HFONT;
typedef struct tagRECT {
    LONG left, top, right, bottom;
} RECT;
#define DLLCLBK extern "C" __attribute__((visibility("default")))
#define OAPIFUNC
#endif

// ---------------------------------------------------------------------------
// Handles
// ---------------------------------------------------------------------------
typedef void *OBJHANDLE;
typedef void *VISHANDLE;
typedef void *MESHHANDLE;
typedef int *DEVMESHHANDLE;
typedef void *SURFHANDLE;
typedef void *FILEHANDLE;
typedef void *PROPELLANT_HANDLE;
typedef void *THRUSTER_HANDLE;
typedef void *THGROUP_HANDLE;

namespace oapi {
class Module;
class Sketchpad;
class Font;
class Pen;
class Brush;
}

// ---------------------------------------------------------------------------
// Vectors, matrices and orbital data
// ---------------------------------------------------------------------------
typedef union {
    double data[3];
    struct {
        double x, y, z;
    };
} VECTOR3;

typedef union {
    double data[9];
    struct {
        double m11, m12, m13, m21, m22, m23, m31, m32, m33;
    };
} MATRIX3;

inline VECTOR3 _V(double x, double y, double z)
{
    VECTOR3 vec = {{x, y, z}};
    return vec;
}

inline RECT _R(int left, int top, int right, int bottom)
{
    RECT r = {left, top, right, bottom};
    return r;
}

// Osculating elements: semi-major axis a (m), eccentricity e, inclination i,
// longitude of ascending node theta, longitude of periapsis omegab, mean
// longitude at the reference date L (all angles in radians).
typedef struct {
    double a, e, i, theta, omegab, L;
} ELEMENTS;

// Secondary orbit parameters: semi-minor axis, periapsis and apoapsis
// distance (m), mean, true and eccentric anomaly, mean and true longitude
// (rad), linear eccentricity (m), period, time to periapsis and apoapsis (s).
typedef struct {
    double SMi, PeD, ApD, MnA, TrA, MnL, TrL, EcA, Lec, T, PeT, ApT;
} ORBITPARAM;

typedef struct {
    VECTOR3 pos;
    double stiffness, damping, mu, mu_lng;
} TOUCHDOWNVTX;

typedef struct {
    DWORD nmesh, ngroup;
} VCMFDSPEC;

typedef struct HUDPAINTSPEC HUDPAINTSPEC;

// A vessel's state, for creating a vessel (oapiCreateVesselEx) or setting
// its state (clbkSetStateEx). version must be 2. Positions and velocities
// are relative to rbody in the global (ecliptic) frame; status 0 is free
// flight, 1 landed, where surf_lng, surf_lat and surf_hdg (rad) place the
// vessel on rbody's surface; arot gives the orientation as in the scenario
// line AROT (rad), vrot the angular velocity (rad/s). fuel lists tank
// levels (0..1) when flag has VS_FUELLIST.
typedef struct {
    DWORD version;
    DWORD flag;
    OBJHANDLE rbody;
    OBJHANDLE base;
    int port;
    int status;
    VECTOR3 rpos;
    VECTOR3 rvel;
    VECTOR3 vrot;
    VECTOR3 arot;
    double surf_lng;
    double surf_lat;
    double surf_hdg;
    DWORD nfuel;
    struct FUELSPEC {
        DWORD idx;
        double level;
    } *fuel;
    DWORD nthruster;
    struct THRUSTSPEC {
        DWORD idx;
        double level;
    } *thruster;
    DWORD ndockinfo;
    struct DOCKINFOSPEC {
        DWORD idx;
        DWORD ridx;
        OBJHANDLE rvessel;
    } *dockinfo;
    DWORD xpdr;
} VESSELSTATUS2;

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------
#define OBJTP_INVALID 0
#define OBJTP_GENERIC 1
#define OBJTP_CBODY 2
#define OBJTP_STAR 3
#define OBJTP_PLANET 4
#define OBJTP_VESSEL 10
#define OBJTP_SURFBASE 20

#define FRAME_ECL 0
#define FRAME_EQU 1

enum AltitudeMode { ALTMODE_MEANRAD = 0, ALTMODE_GROUND = 1 };

enum THGROUP_TYPE {
    THGROUP_MAIN = 0,
    THGROUP_RETRO,
    THGROUP_HOVER,
    THGROUP_ATT_PITCHUP,
    THGROUP_ATT_PITCHDOWN,
    THGROUP_ATT_YAWLEFT,
    THGROUP_ATT_YAWRIGHT,
    THGROUP_ATT_BANKLEFT,
    THGROUP_ATT_BANKRIGHT,
    THGROUP_ATT_RIGHT,
    THGROUP_ATT_LEFT,
    THGROUP_ATT_UP,
    THGROUP_ATT_DOWN,
    THGROUP_ATT_FORWARD,
    THGROUP_ATT_BACK,
    THGROUP_USER = 0x40
};

#define MESHVIS_NEVER 0x00
#define MESHVIS_EXTERNAL 0x01
#define MESHVIS_COCKPIT 0x02
#define MESHVIS_ALWAYS (MESHVIS_EXTERNAL | MESHVIS_COCKPIT)
#define MESHVIS_VC 0x04

#define PANEL_REDRAW_NEVER 0x00
#define PANEL_REDRAW_ALWAYS 0x01
#define PANEL_REDRAW_MOUSE 0x02

#define PANEL_MOUSE_LBDOWN 0x01
#define PANEL_MOUSE_LBUP 0x04
#define PANEL_MOUSE_LBPRESSED 0x10
#define PANEL_MOUSE_ONREPLAY 0x40

#define PANEL_MAP_NONE 0x00

#define SURF_NO_CK 0xFFFFFFFF

#define VS_FUELRESET 0x00000001
#define VS_FUELLIST 0x00000002
#define VS_THRUSTRESET 0x00000004
#define VS_THRUSTLIST 0x00000008
#define VS_DOCKINFOLIST 0x00000010

// Message ids of VESSEL3::clbkGeneric from this value up are the modules'
// own.
#define VMSG_USER 0x1000

#define OAPI_KEY_T 0x14
#define OAPI_KEY_S 0x1F
#define OAPI_KEY_LCONTROL 0x1D
#define OAPI_KEY_RCONTROL 0x9D
#define OAPI_KEY_LALT 0x38
#define OAPI_KEY_RALT 0xB8
#define OAPI_KEY_LSHIFT 0x2A
#define OAPI_KEY_RSHIFT 0x36
#define OAPI_KEY_GRAVE 0x29
#define OAPI_KEY_F1 0x3B

#define KEYDOWN(buf, key) (buf[key] & 0x80)

enum FontStyle { FONT_NORMAL = 0, FONT_BOLD = 1, FONT_ITALIC = 2, FONT_UNDERLINE = 4 };

// ---------------------------------------------------------------------------
// Objects and vessels
// ---------------------------------------------------------------------------
class VESSEL;

OAPIFUNC OBJHANDLE oapiGetVesselByName(char *name);
OAPIFUNC bool oapiIsVessel(OBJHANDLE hVessel);
OAPIFUNC VESSEL *oapiGetVesselInterface(OBJHANDLE hVessel);
OAPIFUNC OBJHANDLE oapiGetObjectByName(char *name);
OAPIFUNC int oapiGetObjectType(OBJHANDLE hObj);
OAPIFUNC void oapiGetObjectName(OBJHANDLE hObj, char *name, int n);
OAPIFUNC void oapiGetGlobalPos(OBJHANDLE hObj, VECTOR3 *pos);
OAPIFUNC void oapiGlobalToEqu(OBJHANDLE hObj, const VECTOR3 &glob, double *lng, double *lat, double *rad);
OAPIFUNC double oapiGetSize(OBJHANDLE hObj);
OAPIFUNC double oapiGetMass(OBJHANDLE hObj);
OAPIFUNC double oapiGetPlanetPeriod(OBJHANDLE hPlanet);
OAPIFUNC BOOL oapiGetAltitude(OBJHANDLE hVessel, double *alt);
OAPIFUNC BOOL oapiGetAltitude(OBJHANDLE hVessel, AltitudeMode mode, double *alt);
OAPIFUNC void oapiGetRelativeVel(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3 *vel);

// The session's vessels by index, 0 <= index < oapiGetVesselCount(); an
// index changes when vessels are created or destroyed.
OAPIFUNC OBJHANDLE oapiGetVesselByIndex(int index);
OAPIFUNC DWORD oapiGetVesselCount();
// A new vessel of a class that has a configuration file, in the state of a
// VESSELSTATUS2 (status points at one); its handle, or null.
OAPIFUNC OBJHANDLE oapiCreateVesselEx(const char *name, const char *classname, const void *status);
// Destroys a vessel at the end of the current frame; false if hVessel is no
// vessel.
OAPIFUNC bool oapiDeleteVessel(OBJHANDLE hVessel, OBJHANDLE hAlternativeCameraTarget = 0);

// ---------------------------------------------------------------------------
// Plug-in modules and the log
// ---------------------------------------------------------------------------
// Called by a plug-in in its InitModule; the plug-in deletes the module in
// its ExitModule.
OAPIFUNC void oapiRegisterModule(oapi::Module *module);
// One line in the simulator's log.
OAPIFUNC void oapiWriteLog(char *line);

// ---------------------------------------------------------------------------
// Coordinate transformations and planet orientation (global frame: ecliptic
// and equinox of J2000, left-handed, y towards the ecliptic north pole)
// ---------------------------------------------------------------------------
OAPIFUNC void oapiGetRotationMatrix(OBJHANDLE hObj, MATRIX3 *mat);
OAPIFUNC void oapiEquToGlobal(OBJHANDLE hObj, double lng, double lat, double rad, VECTOR3 *glob);
OAPIFUNC double oapiGetPlanetObliquity(OBJHANDLE hPlanet);
OAPIFUNC void oapiGetPlanetObliquityMatrix(OBJHANDLE hPlanet, MATRIX3 *mat);
OAPIFUNC double oapiGetPlanetCurrentRotation(OBJHANDLE hPlanet);

// ---------------------------------------------------------------------------
// Time
// ---------------------------------------------------------------------------
OAPIFUNC double oapiGetSimMJD();
OAPIFUNC double oapiGetSimStep();
OAPIFUNC double oapiGetSimTime();

// ---------------------------------------------------------------------------
// Meshes, surfaces and drawing resources
// ---------------------------------------------------------------------------
OAPIFUNC MESHHANDLE oapiLoadMeshGlobal(const char *fname);
OAPIFUNC SURFHANDLE oapiGetTextureHandle(MESHHANDLE hMesh, DWORD texidx);
OAPIFUNC SURFHANDLE oapiCreateSurface(int width, int height);
OAPIFUNC void oapiDestroySurface(SURFHANDLE surf);
OAPIFUNC oapi::Sketchpad *oapiGetSketchpad(SURFHANDLE surf);
OAPIFUNC void oapiReleaseSketchpad(oapi::Sketchpad *skp);
OAPIFUNC void oapiBlt(SURFHANDLE tgt, SURFHANDLE src, int tgtx, int tgty, int srcx, int srcy, int w, int h,
                      DWORD ck = SURF_NO_CK);
OAPIFUNC oapi::Font *oapiCreateFont(int height, bool prop, char *face, FontStyle style = FONT_NORMAL);
OAPIFUNC void oapiReleaseFont(oapi::Font *font);
OAPIFUNC oapi::Pen *oapiCreatePen(int style, int width, DWORD col);
OAPIFUNC void oapiReleasePen(oapi::Pen *pen);
OAPIFUNC oapi::Brush *oapiCreateBrush(DWORD col);
OAPIFUNC void oapiReleaseBrush(oapi::Brush *brush);

// ---------------------------------------------------------------------------
// Virtual cockpit and MFDs
// ---------------------------------------------------------------------------
OAPIFUNC void oapiVCRegisterArea(int id, const RECT &tgtrect, int draw_event, int mouse_event, int bkmode,
                                 SURFHANDLE tgt);
OAPIFUNC void oapiVCRegisterArea(int id, int draw_event, int mouse_event);
OAPIFUNC void oapiVCSetAreaClickmode_Spherical(int id, const VECTOR3 &cnt, double rad);
OAPIFUNC void oapiVCSetAreaClickmode_Quadrilateral(int id, const VECTOR3 &p1, const VECTOR3 &p2, const VECTOR3 &p3,
                                                   const VECTOR3 &p4);
OAPIFUNC void oapiVCRegisterMFD(int mfd, const VCMFDSPEC *spec);
OAPIFUNC void oapiVCTriggerRedrawArea(int vc_id, int area_id);
OAPIFUNC void oapiVCSetNeighbours(int left, int right, int top, int bottom);
OAPIFUNC bool oapiProcessMFDButton(int mfd, int bt, int event);
OAPIFUNC void oapiToggleMFD_on(int mfd);
OAPIFUNC int oapiSendMFDKey(int mfd, DWORD key);
OAPIFUNC const char *oapiMFDButtonLabel(int mfd, int bt);

// ---------------------------------------------------------------------------
// Scenarios and user input
// ---------------------------------------------------------------------------
OAPIFUNC bool oapiReadScenario_nextline(FILEHANDLE scn, char *&line);
OAPIFUNC void oapiWriteScenario_string(FILEHANDLE scn, char *item, char *string);
OAPIFUNC void oapiOpenInputBox(char *title, bool (*Clbk)(void *, char *, void *), char *buf = 0, int vislen = 20,
                               void *usrdata = 0);

#endif // KORVANE_HOST_ORBITERAPI_H
