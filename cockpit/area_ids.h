// Ids of the cockpit's active areas: the three screens, the two MFD label
// panels, and the MFD buttons (left MFD 200..214, right MFD 100..114).

#ifndef KORVANE_COCKPIT_AREA_IDS_H
#define KORVANE_COCKPIT_AREA_IDS_H

namespace korvane {

constexpr int AID_SCREEN0 = 0;
constexpr int AID_SCREEN1 = 1;
constexpr int AID_SCREEN2 = 2;

constexpr int AID_LMFD_LABELS = 300;
constexpr int AID_RMFD_LABELS = 303;

// Side buttons: first id of 12 (buttons 0..5 the first column, 6..11 the second).
constexpr int AID_LMFD_BTN = 200;
constexpr int AID_LMFD_PWR = 212;
constexpr int AID_LMFD_MNU = 213;
constexpr int AID_LMFD_SEL = 214;

constexpr int AID_RMFD_BTN = 100;
constexpr int AID_RMFD_PWR = 112;
constexpr int AID_RMFD_MNU = 113;
constexpr int AID_RMFD_SEL = 114;

constexpr int kMfdSideButtons = 12;

} // namespace korvane

#endif // KORVANE_COCKPIT_AREA_IDS_H
