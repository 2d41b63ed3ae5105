// Where the two MFD button panels stand in the control room: the geometry
// that the cockpit's click zones and the desk's mesh are both built from, so
// that every button the label panel draws lies on its click zone.
//
// Each MFD has a flat panel tilted by 15 degrees. A point on it has panel
// coordinates (a, b) in metres from the panel's top-left corner, a across
// (to the right as the seated operator sees it) and b downwards. Pixel
// (px, py) of a 256 x 256 label texture lies at a = kPanelMetresPerPixel px,
// b = kPanelMetresPerPixel py, so the label panel covers a, b in [0, 0.38].
//
// Vessel frame: metres, x right, y up, z forward (left-handed). Nothing here
// needs the host, so the mesh generator builds on the same numbers.

#ifndef KORVANE_COCKPIT_PANEL_GEOMETRY_H
#define KORVANE_COCKPIT_PANEL_GEOMETRY_H

namespace korvane {

// Which MFD a button belongs to: 0 (left) or 1 (right), as the host numbers them.
enum MfdSide { kLeftMfd, kRightMfd };

// Buttons of one MFD: 0..11 the side buttons, then power, menu and select
// (area id = first button id + button).
constexpr int kPowerButton = 12;
constexpr int kMenuButton = 13;
constexpr int kSelectButton = 14;
constexpr int kPanelButtons = 15;

// The panels' tilt: cos and sin of 15 degrees.
constexpr double kPanelTiltCos = 0.9659258262890683;
constexpr double kPanelTiltSin = 0.25881904510252074;

// Size of one label-texture pixel on the panel (m), and the texture's side.
constexpr double kPanelMetresPerPixel = 0.001484375;
constexpr int kLabelPanelPixels = 256;
// Side of the label panel on the desk (m): 0.38.
constexpr double kLabelPanelMetres = kPanelMetresPerPixel * kLabelPanelPixels;

// A point or direction in the vessel frame (m).
struct PanelPoint {
    double x, y, z;
};

// A point on a panel (m): a across, b downwards.
struct PanelCoordinates {
    double a, b;
};

// Where the centre of a button (0..kPanelButtons-1) lies on its panel.
PanelCoordinates ButtonPanelCoordinates(int button);

// The vessel point of panel coordinates (a, b) on the panel of `side`.
PanelPoint PanelToVessel(MfdSide side, double a, double b);

// The panel's unit vectors: along a, along b, and its front normal (towards
// the operator, a x b as the left-handed frame computes it).
PanelPoint PanelAcross(MfdSide side);
PanelPoint PanelDown(MfdSide side);
PanelPoint PanelFront(MfdSide side);

} // namespace korvane

#endif // KORVANE_COCKPIT_PANEL_GEOMETRY_H
