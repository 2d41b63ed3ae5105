// The upper half of screen 1: a framed, dashed grid with the target's recent
// speed (cyan, scale on the left, km/s) and altitude (magenta, scale on the
// right, km), each curve scaled to its own minimum and maximum.

#ifndef KORVANE_SCREENS_HISTORY_GRAPHS_H
#define KORVANE_SCREENS_HISTORY_GRAPHS_H

#include "DrawAPI.h"

class Korvane;

namespace korvane {

class FlightHistory;

// Chart geometry (pixels on the 1024 x 1024 screen).
constexpr int kChartLeft = 40;
constexpr int kChartRight = 984;
constexpr int kChartTop = 46;
constexpr int kChartBottom = 512;
constexpr int kNewestPointX = 961;
constexpr double kChartPixelsPerSecond = 0.7866666666666667;

// Drawn whether or not a target is set: it shows what the history holds.
void drawHistoryGraphs(oapi::Sketchpad &skp, const Korvane &building);

// The x of a sample taken ageSeconds before the newest one: the newest at
// 961, older ones 0.787 pixels per second to the left, never left of 40.
int ChartX(double ageSeconds);

// The y of a value on a curve scaled from minimum (bottom edge) to
// minimum + range (top edge); a range of 0 draws along the bottom edge.
int ChartY(double value, double minimum, double range);

} // namespace korvane

#endif // KORVANE_SCREENS_HISTORY_GRAPHS_H
