#include "cockpit/cockpit_input.h"

#include "OrbiterAPI.h"
#include "cockpit/area_ids.h"

namespace korvane {

namespace {

constexpr int kAllCockpitPositions = -1;
constexpr int kButtonPressed = PANEL_MOUSE_LBDOWN; // what the MFD is told, whatever the click was

// Operates one MFD's button and refreshes its label panel.
void OperateMfd(int mfd, int firstButtonId, int labelArea, int areaId)
{
    int button = areaId - firstButtonId;
    if (button < kMfdSideButtons)
        oapiProcessMFDButton(mfd, button, kButtonPressed);
    else if (areaId == firstButtonId + (AID_LMFD_PWR - AID_LMFD_BTN))
        oapiToggleMFD_on(mfd);
    else if (areaId == firstButtonId + (AID_LMFD_MNU - AID_LMFD_BTN))
        oapiSendMFDKey(mfd, OAPI_KEY_GRAVE);
    else
        oapiSendMFDKey(mfd, OAPI_KEY_F1);
    oapiVCTriggerRedrawArea(kAllCockpitPositions, labelArea);
}

} // namespace

bool HandleCockpitMouse(int areaId, int event)
{
    if (!(event & PANEL_MOUSE_LBUP))
        return false;
    if (areaId >= AID_RMFD_BTN && areaId <= AID_RMFD_SEL)
        OperateMfd(1, AID_RMFD_BTN, AID_RMFD_LABELS, areaId);
    else if (areaId >= AID_LMFD_BTN && areaId <= AID_LMFD_SEL)
        OperateMfd(0, AID_LMFD_BTN, AID_LMFD_LABELS, areaId);
    return false;
}

} // namespace korvane
