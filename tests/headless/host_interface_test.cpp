// The stand-in simulator defines everything the host interface declares: a
// module may call any of it. This program takes the address of every
// declared function and member, so a missing definition fails the link.

#include <gtest/gtest.h>

#include "Orbitersdk.h"

namespace {

template <typename T>
bool Defined(T p)
{
    return p != nullptr;
}

TEST(HostInterfaceTest, EveryDeclarationIsDefined)
{
    EXPECT_TRUE(Defined(&oapiGetVesselByName));
    EXPECT_TRUE(Defined(&oapiIsVessel));
    EXPECT_TRUE(Defined(&oapiGetVesselInterface));
    EXPECT_TRUE(Defined(&oapiGetObjectByName));
    EXPECT_TRUE(Defined(&oapiGetObjectType));
    EXPECT_TRUE(Defined(&oapiGetObjectName));
    EXPECT_TRUE(Defined(&oapiGetGlobalPos));
    EXPECT_TRUE(Defined(&oapiGlobalToEqu));
    EXPECT_TRUE(Defined(&oapiGetSize));
    EXPECT_TRUE(Defined(&oapiGetMass));
    EXPECT_TRUE(Defined(&oapiGetPlanetPeriod));
    EXPECT_TRUE(Defined(static_cast<BOOL (*)(OBJHANDLE, double *)>(&oapiGetAltitude)));
    EXPECT_TRUE(Defined(static_cast<BOOL (*)(OBJHANDLE, AltitudeMode, double *)>(&oapiGetAltitude)));
    EXPECT_TRUE(Defined(&oapiGetRelativeVel));
    EXPECT_TRUE(Defined(&oapiGetRotationMatrix));
    EXPECT_TRUE(Defined(&oapiEquToGlobal));
    EXPECT_TRUE(Defined(&oapiGetPlanetObliquity));
    EXPECT_TRUE(Defined(&oapiGetPlanetObliquityMatrix));
    EXPECT_TRUE(Defined(&oapiGetPlanetCurrentRotation));
    EXPECT_TRUE(Defined(&oapiGetSimMJD));
    EXPECT_TRUE(Defined(&oapiGetSimStep));
    EXPECT_TRUE(Defined(&oapiGetSimTime));
    EXPECT_TRUE(Defined(&oapiLoadMeshGlobal));
    EXPECT_TRUE(Defined(&oapiGetTextureHandle));
    EXPECT_TRUE(Defined(&oapiCreateSurface));
    EXPECT_TRUE(Defined(&oapiDestroySurface));
    EXPECT_TRUE(Defined(&oapiGetSketchpad));
    EXPECT_TRUE(Defined(&oapiReleaseSketchpad));
    EXPECT_TRUE(Defined(&oapiBlt));
    EXPECT_TRUE(Defined(&oapiCreateFont));
    EXPECT_TRUE(Defined(&oapiReleaseFont));
    EXPECT_TRUE(Defined(&oapiCreatePen));
    EXPECT_TRUE(Defined(&oapiReleasePen));
    EXPECT_TRUE(Defined(&oapiCreateBrush));
    EXPECT_TRUE(Defined(&oapiReleaseBrush));
    EXPECT_TRUE(Defined(static_cast<void (*)(int, const RECT &, int, int, int, SURFHANDLE)>(&oapiVCRegisterArea)));
    EXPECT_TRUE(Defined(static_cast<void (*)(int, int, int)>(&oapiVCRegisterArea)));
    EXPECT_TRUE(Defined(&oapiVCSetAreaClickmode_Spherical));
    EXPECT_TRUE(Defined(&oapiVCSetAreaClickmode_Quadrilateral));
    EXPECT_TRUE(Defined(&oapiVCRegisterMFD));
    EXPECT_TRUE(Defined(&oapiVCTriggerRedrawArea));
    EXPECT_TRUE(Defined(&oapiVCSetNeighbours));
    EXPECT_TRUE(Defined(&oapiProcessMFDButton));
    EXPECT_TRUE(Defined(&oapiToggleMFD_on));
    EXPECT_TRUE(Defined(&oapiSendMFDKey));
    EXPECT_TRUE(Defined(&oapiMFDButtonLabel));
    EXPECT_TRUE(Defined(&oapiReadScenario_nextline));
    EXPECT_TRUE(Defined(&oapiWriteScenario_string));
    EXPECT_TRUE(Defined(&oapiOpenInputBox));

    EXPECT_TRUE(Defined(&VESSEL::SetEmptyMass));
    EXPECT_TRUE(Defined(&VESSEL::SetClipRadius));
    EXPECT_TRUE(Defined(&VESSEL::SetTouchdownPoints));
    EXPECT_TRUE(Defined(&VESSEL::AddMesh));
    EXPECT_TRUE(Defined(&VESSEL::SetMeshVisibilityMode));
    EXPECT_TRUE(Defined(&VESSEL::SetCameraOffset));
    EXPECT_TRUE(Defined(&VESSEL::SetCameraCatchAngle));
    EXPECT_TRUE(Defined(&VESSEL::SetCameraRotationRange));
    EXPECT_TRUE(Defined(&VESSEL::SetCameraShiftRange));
    EXPECT_TRUE(Defined(&VESSEL::GetDevMesh));
    EXPECT_TRUE(Defined(&VESSEL::ParseScenarioLineEx));
    EXPECT_TRUE(Defined(&VESSEL::SaveDefaultState));
    EXPECT_TRUE(Defined(&VESSEL::GetHandle));
    EXPECT_TRUE(Defined(&VESSEL::GetName));
    EXPECT_TRUE(Defined(&VESSEL::GetClassName));
    EXPECT_TRUE(Defined(&VESSEL::GetSurfaceRef));
    EXPECT_TRUE(Defined(&VESSEL::GetGlobalPos));
    EXPECT_TRUE(Defined(&VESSEL::GetElements));
    EXPECT_TRUE(Defined(&VESSEL::GetFlightStatus));
    EXPECT_TRUE(Defined(&VESSEL::GetPitch));
    EXPECT_TRUE(Defined(&VESSEL::GetBank));
    EXPECT_TRUE(Defined(&VESSEL::GetYaw));
    EXPECT_TRUE(Defined(&VESSEL::GetEquPos));
    EXPECT_TRUE(Defined(&VESSEL::GetAngularVel));
    EXPECT_TRUE(Defined(&VESSEL::GetAirspeed));
    EXPECT_TRUE(Defined(&VESSEL::GetGroundspeed));
    EXPECT_TRUE(Defined(&VESSEL::GetMachNumber));
    EXPECT_TRUE(Defined(static_cast<double (VESSEL::*)() const>(&VESSEL::GetAltitude)));
    EXPECT_TRUE(Defined(static_cast<double (VESSEL::*)(AltitudeMode, int *)>(&VESSEL::GetAltitude)));
    EXPECT_TRUE(Defined(&VESSEL::GetMass));
    EXPECT_TRUE(Defined(&VESSEL::GetGlobalOrientation));
    EXPECT_TRUE(Defined(&VESSEL::GetAtmTemperature));
    EXPECT_TRUE(Defined(&VESSEL::GetAtmPressure));
    EXPECT_TRUE(Defined(&VESSEL::GetAtmDensity));
    EXPECT_TRUE(Defined(&VESSEL::GetDynPressure));
    EXPECT_TRUE(Defined(&VESSEL::GetPropellantCount));
    EXPECT_TRUE(Defined(&VESSEL::GetPropellantHandleByIndex));
    EXPECT_TRUE(Defined(&VESSEL::GetPropellantMass));
    EXPECT_TRUE(Defined(&VESSEL::GetPropellantMaxMass));
    EXPECT_TRUE(Defined(&VESSEL::GetThrusterGroupLevel));
    EXPECT_TRUE(Defined(&VESSEL::GetThrustVector));

    // The callbacks' defaults, through an object of the base classes.
    struct Generic final : VESSEL3 {
        Generic() : VESSEL3(nullptr, 1) {}
    } generic;
    VESSEL3 &v = generic;
    char kstate[256] = {};
    VECTOR3 p = _V(0, 0, 0);
    EXPECT_EQ(v.clbkConsumeBufferedKey(0, true, kstate), 0);
    EXPECT_EQ(v.clbkConsumeDirectKey(kstate), 0);
    EXPECT_FALSE(v.clbkLoadVC(0));
    EXPECT_FALSE(v.clbkVCMouseEvent(0, 0, p));
    EXPECT_FALSE(v.clbkVCRedrawEvent(0, 0, nullptr));
    EXPECT_FALSE(v.clbkLoadPanel(0));
    EXPECT_FALSE(v.clbkLoadGenericCockpit());
    EXPECT_FALSE(v.clbkPanelMouseEvent(0, 0, 0, 0));
    EXPECT_FALSE(v.clbkPanelMouseEvent(0, 0, 0, 0, nullptr));
    EXPECT_FALSE(v.clbkPanelRedrawEvent(0, 0, nullptr));
    EXPECT_FALSE(v.clbkPanelRedrawEvent(0, 0, nullptr, nullptr));
    EXPECT_FALSE(v.clbkPlaybackEvent(0, 0, "", ""));
    EXPECT_EQ(v.clbkGeneric(), 0);
    v.clbkSetClassCaps(nullptr);
    v.clbkSetStateEx(nullptr);
    v.clbkPostCreation();
    v.clbkFocusChanged(true, nullptr, nullptr);
    v.clbkPreStep(0, 0, 0);
    v.clbkPostStep(0, 0, 0);
    v.clbkVisualCreated(nullptr, 1);
    v.clbkVisualDestroyed(nullptr, 1);
    v.clbkDrawHUD(0, nullptr, nullptr);
    v.clbkRCSMode(0);
    v.clbkADCtrlMode(0);
    v.clbkHUDMode(0);
    v.clbkMFDMode(0, 0);
    v.clbkNavMode(0, false);
    v.clbkDockEvent(0, nullptr);
    v.clbkAnimate(0);
    // A vessel interface without a host vessel answers with nothing.
    EXPECT_EQ(v.GetHandle(), nullptr);
    EXPECT_EQ(v.GetMass(), 0.0);
    EXPECT_EQ(v.GetPropellantCount(), 0u);
}

} // namespace
