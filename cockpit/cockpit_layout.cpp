#include "cockpit/cockpit_layout.h"

#include "cockpit/area_ids.h"
#include "module/korvane.h"

namespace korvane {

namespace {

constexpr double kCatchAngleRad = 0.008726646259971648; // half a degree
constexpr double kPi = 3.14159265358979323846;
constexpr int kAllMouseEvents = PANEL_MOUSE_LBDOWN | PANEL_MOUSE_LBUP | PANEL_MOUSE_LBPRESSED | PANEL_MOUSE_ONREPLAY;
constexpr int kNoMouseEvents = 0;
constexpr int kScreenPixels = 1024;

struct CameraPosition {
    VECTOR3 offset;
    VECTOR3 shiftForward, shiftLeft, shiftRight;
    int neighbours[4]; // left, right, up, down; -1 none
};

// 0: the main desk; up leads to 1 (forward), down to 2 (overview).
const CameraPosition kCameraPositions[3] = {
    {{{0, -1.55, -7}}, {{0, 0, 12}}, {{-3.5, 0, 0}}, {{3.5, 0, 0}}, {-1, -1, 1, 2}},
    {{{0, -1, 4}}, {{0, 0, 1}}, {{-3.5, 0, 0}}, {{3.5, 0, 0}}, {-1, -1, -1, 0}},
    {{{0, 1.7, -8.5}}, {{0, 0, 1}}, {{-1.5, 0, 0}}, {{1.5, 0, 0}}, {-1, -1, 0, -1}},
};

void RegisterButton(MfdSide side, int button, bool quadrilateral)
{
    int id = (side == kLeftMfd ? AID_LMFD_BTN : AID_RMFD_BTN) + button;
    oapiVCRegisterArea(id, PANEL_REDRAW_NEVER, kAllMouseEvents);
    VECTOR3 c = ButtonCentre(side, button);
    if (!quadrilateral) {
        oapiVCSetAreaClickmode_Spherical(id, c, kButtonZoneRadius);
        return;
    }
    const double d = kButtonZoneRadius;
    oapiVCSetAreaClickmode_Quadrilateral(id, _V(c.x - d, c.y + d, c.z), _V(c.x + d, c.y + d, c.z),
                                         _V(c.x - d, c.y - d, c.z), _V(c.x + d, c.y - d, c.z));
}

// The side buttons, then power, select and menu (left to right on the panel).
void RegisterButtons(MfdSide side, bool quadrilateralSideButtons)
{
    for (int button = 0; button < kMfdSideButtons; ++button)
        RegisterButton(side, button, quadrilateralSideButtons);
    RegisterButton(side, kPowerButton, false);
    RegisterButton(side, kSelectButton, false);
    RegisterButton(side, kMenuButton, false);
}

} // namespace

VECTOR3 ButtonCentre(MfdSide side, int button)
{
    PanelCoordinates at = ButtonPanelCoordinates(button);
    PanelPoint p = PanelToVessel(side, at.a, at.b);
    return _V(p.x, p.y, p.z);
}

bool LoadCockpit(Korvane &building, int position)
{
    building.SetCameraCatchAngle(kCatchAngleRad);

    const RECT screenRect = _R(0, 0, kScreenPixels, kScreenPixels);
    for (int i = 0; i < 3; ++i) {
        building.screenTex[i] = oapiGetTextureHandle(building.meshScreen[i], 1);
        oapiVCRegisterArea(AID_SCREEN0 + i, screenRect, PANEL_REDRAW_ALWAYS, kNoMouseEvents, PANEL_MAP_NONE,
                           building.screenTex[i]);
    }

    const RECT labelRect = _R(0, 0, kLabelPanelPixels, kLabelPanelPixels);
    oapiVCRegisterArea(AID_LMFD_LABELS, labelRect, PANEL_REDRAW_MOUSE, kAllMouseEvents, PANEL_MAP_NONE,
                       oapiGetTextureHandle(building.meshFlightDir, 1));
    oapiVCRegisterArea(AID_RMFD_LABELS, labelRect, PANEL_REDRAW_MOUSE, kAllMouseEvents, PANEL_MAP_NONE,
                       oapiGetTextureHandle(building.meshFlightDir, 2));

    const VCMFDSPEC leftMfd = {building.meshIdxFlightDir, 1};
    const VCMFDSPEC rightMfd = {building.meshIdxFlightDir, 2};
    oapiVCRegisterMFD(0, &leftMfd);
    oapiVCRegisterMFD(1, &rightMfd);

    RegisterButtons(kLeftMfd, false);
    RegisterButtons(kRightMfd, true);

    if (position >= 0 && position < 3) {
        const CameraPosition &cam = kCameraPositions[position];
        building.SetCameraOffset(cam.offset);
        building.SetCameraShiftRange(cam.shiftForward, cam.shiftLeft, cam.shiftRight);
        building.SetCameraRotationRange(kPi, kPi, kPi, kPi);
        oapiVCSetNeighbours(cam.neighbours[0], cam.neighbours[1], cam.neighbours[2], cam.neighbours[3]);
    }
    return true;
}

} // namespace korvane
