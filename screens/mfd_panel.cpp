#include "screens/mfd_panel.h"

#include <cstring>

#include "module/colour.h"
#include "module/korvane.h"

namespace korvane {

namespace {

constexpr int kPanelPixels = 256;
constexpr int kFirstRowTop = 15;
constexpr int kRowPitch = 35;
constexpr int kBottomRowTop = 225;
constexpr int kButtonWidth = 30;
constexpr int kButtonHeight = 20;
constexpr int kLeftColumnX = 68;
constexpr int kRightColumnX = 158;

void WriteLabel(oapi::Sketchpad &skp, int x, int y, const char *label)
{
    skp.Text(x, y, label, static_cast<int>(std::strlen(label)));
}

} // namespace

void drawMfdButtonPanel(oapi::Sketchpad &skp, const Korvane &building, int mfd)
{
    skp.SetTextColor(HostColour(255, 255, 255));
    skp.SetOrigin(0, 0);
    skp.SetBrush(building.brushBlack);
    skp.Rectangle(0, 0, kPanelPixels, kPanelPixels);

    skp.SetPen(building.penGreen);
    skp.SetBrush(building.brushDarkOlive);
    for (int y0 = kFirstRowTop; y0 < kBottomRowTop; y0 += kRowPitch) {
        skp.Rectangle(kLeftColumnX, y0, kLeftColumnX + kButtonWidth, y0 + kButtonHeight);
        skp.Rectangle(kRightColumnX, y0, kRightColumnX + kButtonWidth, y0 + kButtonHeight);
    }
    skp.Rectangle(53, kBottomRowTop, 83, 245);   // power
    skp.Rectangle(113, kBottomRowTop, 143, 245); // select
    skp.Rectangle(173, kBottomRowTop, 203, 245); // menu

    skp.SetBrush(nullptr);
    skp.SetFont(building.fontTiny);
    skp.SetTextColor(HostColour(110, 200, 110));
    skp.SetTextAlign(oapi::Sketchpad::CENTER, oapi::Sketchpad::TOP);
    WriteLabel(skp, 128, 229, "SEL");
    WriteLabel(skp, 188, 229, "MNU");

    for (int button = 0; button < 12; ++button) {
        const char *label = oapiMFDButtonLabel(mfd, button);
        if (label)
            WriteLabel(skp, 83 + 90 * (button / 6), 19 + 35 * (button % 6), label);
    }

    skp.SetTextColor(HostColour(193, 116, 109));
    WriteLabel(skp, 68, 229, "PWR");
}

} // namespace korvane
