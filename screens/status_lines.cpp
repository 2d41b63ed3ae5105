#include "screens/status_lines.h"

#include "module/colour.h"
#include "module/korvane.h"
#include "screens/screen_text.h"

namespace korvane {

namespace {
constexpr int kTitleY = 46;
constexpr int kLinkY = 138;
constexpr int kObjectNameBytes = 32;
} // namespace

const char *LinkTypeName(int linkType)
{
    switch (linkType) {
    case 0:
        return "No Link";
    case 1:
        return "Trk Stn";
    case 2:
        return "TDRS";
    case 3:
        return "DSN";
    default:
        return "";
    }
}

void drawTitleLine(oapi::Sketchpad &skp, const Korvane &building)
{
    if (!building.targetValid)
        return;
    skp.SetFont(building.fontLarge);
    skp.SetTextColor(HostColour(255, 255, 255));
    WriteText(skp, building.textLeft, kTitleY, "Target: %s", building.targetName.c_str());
}

void drawLinkLine(oapi::Sketchpad &skp, const Korvane &building)
{
    if (!building.linkUp)
        return;
    char nodeName[kObjectNameBytes] = {};
    oapiGetObjectName(building.linkNode, nodeName, kObjectNameBytes);
    switch (building.linkType) {
    case 1:
        skp.SetTextColor(HostColour(255, 0, 255));
        break;
    case 2:
        skp.SetTextColor(HostColour(255, 255, 0));
        break;
    case 3:
        skp.SetTextColor(HostColour(0, 255, 255));
        break;
    default:
        break; // the colour the map left
    }
    skp.SetOrigin(0, 0);
    skp.SetFont(building.fontLarge);
    WriteText(skp, building.textLeft, kLinkY, "Link:%s Type:%s Strength:%.1f%% Lag:%.3f", nodeName,
              LinkTypeName(building.linkType), building.linkStrength, building.linkLag);
    skp.SetBrush(nullptr);
}

} // namespace korvane
