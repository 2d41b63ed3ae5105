#include "screens/history_graphs.h"

#include <vector>

#include "module/colour.h"
#include "module/korvane.h"
#include "screens/screen_text.h"
#include "screens/units.h"

namespace korvane {

namespace {

constexpr double kCurveHeight = kChartBottom - kChartTop; // 466 pixels
constexpr int kGridLines = 10;
constexpr int kGridPitchX = 94;
constexpr int kGridPitchY = 46;
constexpr int kGridLimitX = 980;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kKilo = 0.001;
constexpr DWORD kAltitudeColour = HostColour(255, 0, 255);
constexpr DWORD kSpeedColour = HostColour(0, 255, 255);

constexpr bool kAltitude = true;
constexpr bool kSpeed = false;

void drawGridAndScales(oapi::Sketchpad &skp, const FlightHistory &history)
{
    const double altMax = history.maxValue(kAltitude), altMin = history.minValue(kAltitude);
    const double spdMax = history.maxValue(kSpeed), spdMin = history.minValue(kSpeed);
    for (int k = 0; k < kGridLines; ++k) {
        int x = kChartLeft + kGridPitchX * k;
        if (x >= kGridLimitX)
            break;
        int y = kChartTop + kGridPitchY * k;
        skp.Line(x, kChartTop, x, kChartBottom);
        skp.Line(kChartLeft, y, kChartRight, y);
        skp.SetTextColor(kAltitudeColour);
        WriteText(skp, kChartRight, y, "%.1f", (altMax - (altMax - altMin) * 0.1 * k) * kKilo);
        skp.SetTextColor(kSpeedColour);
        WriteText(skp, 1, y, "%.3f", (spdMax - k * (spdMax - spdMin) * 0.1) * kKilo);
    }
    WriteText(skp, 1, 5, "%s", "Spd[km/s]");
    skp.SetTextColor(kAltitudeColour);
    WriteText(skp, 981, 1, "%s", "Alt[km]");
}

void drawCurves(oapi::Sketchpad &skp, const Korvane &building)
{
    const FlightHistory &history = building.history;
    int32_t n = history.count();
    if (n > static_cast<int32_t>(FlightHistory::kDefaultCapacity))
        n = static_cast<int32_t>(FlightHistory::kDefaultCapacity);
    const double altMin = history.minValue(kAltitude), altRange = history.valueRange(kAltitude);
    const double spdMin = history.minValue(kSpeed), spdRange = history.valueRange(kSpeed);

    // The one allocation of a redraw: the two point lists, made and freed
    // here. Without the memory for them the curves are left out; nothing
    // may be thrown back into the host.
    std::vector<oapi::IVECTOR2> altitudePoints, speedPoints;
    try {
        altitudePoints.resize(static_cast<size_t>(n));
        speedPoints.resize(static_cast<size_t>(n));
    } catch (...) {
        return;
    }
    const double newest = n > 0 ? history[n - 1].mjd : 0.0;
    for (int32_t i = 0; i < n; ++i) {
        const FlightSample &s = history[i];
        int x = ChartX((newest - s.mjd) * kSecondsPerDay);
        altitudePoints[static_cast<size_t>(i)].x = x;
        altitudePoints[static_cast<size_t>(i)].y = ChartY(s.altitude, altMin, altRange);
        speedPoints[static_cast<size_t>(i)].x = x;
        speedPoints[static_cast<size_t>(i)].y = ChartY(s.speed, spdMin, spdRange);
    }
    skp.SetPen(building.penMagentaWide);
    skp.Polyline(altitudePoints.data(), n);
    skp.SetPen(building.penCyanWide);
    skp.Polyline(speedPoints.data(), n);
}

} // namespace

int ChartX(double ageSeconds)
{
    int x = ToPixel(-ageSeconds * kChartPixelsPerSecond + kNewestPointX);
    return x < kChartLeft ? kChartLeft : x;
}

int ChartY(double value, double minimum, double range)
{
    double factor = range != 0.0 ? 1.0 / range : 0.0;
    return ToPixel(kChartBottom - (value - minimum) * factor * kCurveHeight);
}

void drawHistoryGraphs(oapi::Sketchpad &skp, const Korvane &building)
{
    skp.SetBrush(nullptr);
    skp.SetPen(building.penWhite);
    skp.Rectangle(kChartLeft, kChartTop, kChartRight, kChartBottom);
    skp.SetPen(building.penWhiteDashed);
    drawGridAndScales(skp, building.history);
    skp.SetTextColor(HostColour(255, 255, 255));
    drawCurves(skp, building);
}

} // namespace korvane
