#include "screens/gauges.h"

#include <cmath>

#include "module/colour.h"
#include "module/korvane.h"
#include "screens/screen_text.h"
#include "screens/units.h"

namespace korvane {

namespace {

constexpr int kBaseline = 978;
constexpr double kBarScale = 420.0;   // pixels of a full bar
constexpr double kLabelScale = 443.0; // the percentage label rides 23 px above a full bar
constexpr int kCaptionY = 512;
constexpr double kKilo = 0.001;

struct Fuel {
    double massKg;
    double fill; // 0..1; 0 when the target has no propellant capacity
};

Fuel TotalFuel(VESSEL &target)
{
    double mass = 0.0, capacity = 0.0;
    DWORD count = target.GetPropellantCount();
    for (DWORD i = 0; i < count; ++i) {
        PROPELLANT_HANDLE tank = target.GetPropellantHandleByIndex(i);
        mass += target.GetPropellantMass(tank);
        capacity += target.GetPropellantMaxMass(tank);
    }
    return Fuel{mass, capacity > 0.0 ? mass / capacity : 0.0};
}

double ThrustKiloNewton(VESSEL &target)
{
    VECTOR3 thrust;
    if (!target.GetThrustVector(thrust))
        return 0.0;
    return std::sqrt(thrust.x * thrust.x + thrust.y * thrust.y + thrust.z * thrust.z) * kKilo;
}

} // namespace

void drawGauges(oapi::Sketchpad &skp, const Korvane &building)
{
    skp.SetPen(building.penWhiteWide);
    skp.Line(40, kBaseline, 984, kBaseline);
    skp.SetPen(building.penWhite);
    skp.Rectangle(228, kBaseline, 416, 558); // fuel
    skp.Rectangle(604, kBaseline, 792, 558); // thrust
    if (!building.targetValid)
        return;
    VESSEL *target = oapiGetVesselInterface(building.targetHandle);
    if (!target)
        return;

    Fuel fuel = TotalFuel(*target);
    skp.SetBrush(building.brushGrey);
    skp.SetPen(building.penBlack);
    skp.Rectangle(229, kBaseline, 415, ToPixel(kBaseline - fuel.fill * kBarScale));

    skp.SetTextColor(HostColour(255, 255, 255));
    skp.SetFont(building.fontLarge);
    skp.SetTextAlign(oapi::Sketchpad::CENTER, oapi::Sketchpad::TOP);
    WriteText(skp, 134, ToPixel(kBaseline - fuel.fill * kLabelScale), "%.3f %%", fuel.fill * 100.0);
    WriteText(skp, 322, kBaseline, "%.1f kg", fuel.massKg);
    WriteText(skp, 322, kCaptionY, "%s", "FUEL");

    double level = target->GetThrusterGroupLevel(THGROUP_MAIN);
    WriteText(skp, 886, ToPixel(kBaseline - level * kLabelScale), "%.1f %%", level * 100.0);
    WriteText(skp, 698, kBaseline, "%.2f kN", ThrustKiloNewton(*target));
    skp.Rectangle(605, kBaseline, 791, ToPixel(kBaseline - level * kBarScale));
    WriteText(skp, 698, kCaptionY, "%s", "THRUST");
}

} // namespace korvane
