#include "cockpit/panel_geometry.h"

namespace korvane {

namespace {

constexpr double c = kPanelTiltCos;
constexpr double s = kPanelTiltSin;

// The panels' top-left corners (a = b = 0) in the vessel frame (m).
constexpr PanelPoint kLeftPanelOrigin = {-0.8920945, -1.622, -5.342756};
constexpr PanelPoint kRightPanelOrigin = {0.4249073, -1.622, -5.244479};

// The side buttons' first centre and their spacing (m), and the bottom row.
constexpr double kFirstColumnA = 0.123203125;
constexpr double kColumnStepA = 0.13359375;
constexpr double kFirstRowB = 0.037109375;
constexpr double kRowStepB = 0.051953125;
constexpr double kBottomRowB = 0.348828125;
constexpr double kPowerA = 0.1009375;
constexpr double kSelectA = 0.19;
constexpr double kMenuA = 0.2790625;
constexpr int kButtonsPerColumn = 6;
constexpr int kSideButtons = 12;

} // namespace

PanelCoordinates ButtonPanelCoordinates(int button)
{
    if (button < kSideButtons) {
        int column = button / kButtonsPerColumn;
        int row = button - kButtonsPerColumn * column;
        return {kFirstColumnA + kColumnStepA * column, kFirstRowB + kRowStepB * row};
    }
    double a = button == kPowerButton ? kPowerA : button == kSelectButton ? kSelectA : kMenuA;
    return {a, kBottomRowB};
}

PanelPoint PanelToVessel(MfdSide side, double a, double b)
{
    const double y = kLeftPanelOrigin.y - b * c;
    if (side == kLeftMfd)
        return {a * c + b * s * s + kLeftPanelOrigin.x, y, kLeftPanelOrigin.z + a * s - b * s * c};
    return {a * c - b * s * s + kRightPanelOrigin.x, y, kRightPanelOrigin.z - a * s - b * s * c};
}

// The left panel turns its face towards +x (the room's middle), the right
// one towards -x; both lean back by the same tilt.
PanelPoint PanelAcross(MfdSide side) { return side == kLeftMfd ? PanelPoint{c, 0.0, s} : PanelPoint{c, 0.0, -s}; }

PanelPoint PanelDown(MfdSide side)
{
    return side == kLeftMfd ? PanelPoint{s * s, -c, -s * c} : PanelPoint{-s * s, -c, -s * c};
}

PanelPoint PanelFront(MfdSide side)
{
    return side == kLeftMfd ? PanelPoint{s * c, s, -c * c} : PanelPoint{-s * c, s, -c * c};
}

} // namespace korvane
