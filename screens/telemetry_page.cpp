#include "screens/telemetry_page.h"

#include <cstdio>

#include "module/colour.h"
#include "module/korvane.h"
#include "screens/screen_text.h"
#include "screens/units.h"

namespace korvane {

namespace {

constexpr int kLabelTop = 92;
constexpr int kRowHeight = 46;
constexpr int kLeftLabelX = 40;
constexpr int kRightLabelX = 512;
constexpr int kLeftValueX = 256;
constexpr int kRightValueX = 665;
constexpr int kAtmosphereValueX = 768;
constexpr double kGroundAltitudeLimitMetres = 10000.0; // below it, altitude above the ground

const char *const kLeftLabels[18] = {"Planet Relative Attitude",
                                     "Pitch:",
                                     "Bank:",
                                     "Yaw:",
                                     "Equatorial Position",
                                     "Longitude:",
                                     "Latitude:",
                                     "",
                                     "Angular Velocity",
                                     "",
                                     "",
                                     "Linear Velocity",
                                     "AirSpeed:",
                                     "GroundSpeed:",
                                     "Mach:",
                                     "",
                                     "Altitude:",
                                     "Total Mass:"};
const char *const kRightLabels[16] = {"Absolute Attitude",
                                      "alpha:",
                                      "beta:",
                                      "gamma:",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "",
                                      "Atmospheric Data",
                                      "Temperature:",
                                      "Static Pressure:",
                                      "Dynamic Pressure:",
                                      "Density:"};

int RowY(int row) { return kLabelTop + kRowHeight * row; }

void drawLabels(oapi::Sketchpad &skp)
{
    for (int row = 0; row < 18; ++row)
        WriteText(skp, kLeftLabelX, RowY(row), "%s", kLeftLabels[row]);
    for (int row = 0; row < 16; ++row)
        WriteText(skp, kRightLabelX, RowY(row), "%s", kRightLabels[row]);
}

void drawValues(oapi::Sketchpad &skp, VESSEL &target)
{
    WriteText(skp, kLeftValueX, RowY(1), "%.2f deg", RadiansToDegrees(target.GetPitch()));
    WriteText(skp, kLeftValueX, RowY(2), "%.2f deg", RadiansToDegrees(target.GetBank()));
    WriteText(skp, kLeftValueX, RowY(3), "%.2f deg", RadiansToDegrees(target.GetYaw()));

    double longitude = 0.0, latitude = 0.0, radius = 0.0;
    target.GetEquPos(longitude, latitude, radius);
    char text[kScreenTextBytes];
    FormatLongitude(longitude, text, sizeof(text));
    WriteText(skp, kLeftValueX, RowY(5), "%s", text);
    FormatLatitude(latitude, text, sizeof(text));
    WriteText(skp, kLeftValueX, RowY(6), "%s", text);

    VECTOR3 spin;
    target.GetAngularVel(spin);
    WriteText(skp, kLeftLabelX, RowY(9), "x: %.2f deg/s y: %.2f deg/s z: %.3f deg/s", RadiansToDegrees(spin.x),
              RadiansToDegrees(spin.y), RadiansToDegrees(spin.z));

    WriteText(skp, kLeftValueX, RowY(12), "%.2f m/s", target.GetAirspeed());
    WriteText(skp, kLeftValueX, RowY(13), "%.2f m/s", target.GetGroundspeed());
    WriteText(skp, kLeftValueX, RowY(14), "%.2f ", target.GetMachNumber());

    if (target.GetAltitude() > kGroundAltitudeLimitMetres)
        WriteText(skp, kLeftValueX, RowY(16), "%.3f km MnRad", target.GetAltitude() * 0.001);
    else
        WriteText(skp, kLeftValueX, RowY(16), "%.3f km Gnd", target.GetAltitude(ALTMODE_GROUND) * 0.001);
    WriteText(skp, kLeftValueX, RowY(17), "%.1f kg", target.GetMass());

    VECTOR3 orientation;
    target.GetGlobalOrientation(orientation);
    WriteText(skp, kRightValueX, RowY(1), "%.3f deg", RadiansToDegrees(orientation.x));
    WriteText(skp, kRightValueX, RowY(2), "%.3f deg", RadiansToDegrees(orientation.y));
    WriteText(skp, kRightValueX, RowY(3), "%.3f deg", RadiansToDegrees(orientation.z));

    WriteText(skp, kAtmosphereValueX, RowY(12), "%.1f deg C", target.GetAtmTemperature() - kCelsiusOffsetKelvin);
    WriteText(skp, kAtmosphereValueX, RowY(13), "%.2f Pa", target.GetAtmPressure());
    WriteText(skp, kAtmosphereValueX, RowY(15), "%.2f Kg/m3", target.GetAtmDensity());
    WriteText(skp, kAtmosphereValueX, RowY(14), "%.2f Pa", target.GetDynPressure());
}

void drawFrames(oapi::Sketchpad &skp, const Korvane &building)
{
    skp.SetBrush(nullptr);
    skp.SetPen(building.penGrey);
    skp.Rectangle(30, 80, 460, 402);   // planet-relative attitude and position
    skp.Rectangle(486, 80, 921, 264);  // absolute attitude
    skp.Rectangle(30, 455, 665, 552);  // angular velocity
    skp.Rectangle(30, 598, 486, 782);  // linear velocity
    skp.Rectangle(30, 821, 486, 920);  // altitude and mass
    skp.Rectangle(501, 598, 972, 816); // atmosphere
}

} // namespace

void FormatLongitude(double longitudeRad, char *out, size_t outBytes)
{
    if (longitudeRad >= 0.0)
        std::snprintf(out, outBytes, "%.3f E", RadiansToDegrees(longitudeRad));
    else
        std::snprintf(out, outBytes, "%.3f W", longitudeRad * -kDegreesPerRadian);
}

void FormatLatitude(double latitudeRad, char *out, size_t outBytes)
{
    if (latitudeRad >= 0.0)
        std::snprintf(out, outBytes, "%.3f N", RadiansToDegrees(latitudeRad));
    else
        std::snprintf(out, outBytes, "%.3f S", latitudeRad * -kDegreesPerRadian);
}

void drawTelemetryPage(oapi::Sketchpad &skp, const Korvane &building)
{
    skp.SetTextColor(HostColour(0, 102, 204));
    skp.SetFont(building.fontMedium);
    drawLabels(skp);
    if (!building.targetValid)
        return;

    skp.SetTextColor(HostColour(0, 255, 255));
    VESSEL *target = oapiGetVesselInterface(building.targetHandle);
    if (!target)
        return;
    drawValues(skp, *target);
    drawFrames(skp, building);
}

} // namespace korvane
