#include "map/map_markers.h"

#include <cstring>

#include "map/horizon_circle.h"
#include "module/colour.h"
#include "module/korvane.h"
#include "network/tracking_network.h"
#include "screens/units.h"

namespace korvane {

namespace {

constexpr int kObjectNameBytes = 32;
constexpr int kNodeSymbolSize = 3;
constexpr int kLinkRingRadius = 15;
constexpr DWORD kCharHeightMask = 0xFFFF;

// One list of nodes: its pen and text colour, and how its linked node is shown.
void drawNodeList(oapi::Sketchpad &skp, const Korvane &building, const MapView &view, NodeList list,
                  oapi::Pen *pen, DWORD textColour, bool eastCopy, bool westCopy)
{
    skp.SetPen(pen);
    skp.SetTextColor(textColour);
    uint32_t count = NetworkNodeCount(building.network, list);
    for (uint32_t i = 0; i < count; ++i) {
        NetworkNode node = NetworkNodeAt(building.network, list, i);
        drawObjectMarker(skp, view, node.object, false, kNodeSymbolSize, eastCopy, westCopy);
        if (node.object != building.linkNode)
            continue;
        if (list == NodeList::Relays)
            drawHorizonCircle(skp, view, node.object);
        else
            drawRing(skp, view, node.longitudeDeg, node.latitudeDeg, kLinkRingRadius);
    }
}

} // namespace

void drawCross(oapi::Sketchpad &skp, const MapView &view, double lonDeg, double latDeg, int halfSize)
{
    oapi::IVECTOR2 p = projectToMap(view, lonDeg, latDeg);
    skp.Line(p.x - halfSize, p.y, p.x + halfSize, p.y);
    skp.Line(p.x, p.y - halfSize, p.x, p.y + halfSize);
}

void drawRing(oapi::Sketchpad &skp, const MapView &view, double lonDeg, double latDeg, int radius)
{
    oapi::IVECTOR2 p = projectToMap(view, lonDeg, latDeg);
    skp.Ellipse(p.x - radius, p.y - radius, p.x + radius, p.y + radius);
}

void drawMarkerLabel(oapi::Sketchpad &skp, const MapView &view, const char *name, double lonDeg, double latDeg,
                     int offset)
{
    oapi::IVECTOR2 p = projectToMap(view, lonDeg, latDeg);
    int height = static_cast<int>(skp.GetCharSize() & kCharHeightMask);
    skp.Text(p.x + offset, p.y - height - offset, name, static_cast<int>(std::strlen(name)));
}

void drawObjectMarker(oapi::Sketchpad &skp, const MapView &view, OBJHANDLE object, bool ringSymbol, int size,
                      bool eastCopy, bool westCopy)
{
    VECTOR3 pos;
    oapiGetGlobalPos(object, &pos);
    double lon = 0.0, lat = 0.0, radius = 0.0;
    oapiGlobalToEqu(view.reference, pos, &lon, &lat, &radius);
    const double lonDeg = RadiansToDegrees(lon), latDeg = RadiansToDegrees(lat);

    auto symbol = [&](double atLonDeg) {
        if (ringSymbol)
            drawRing(skp, view, atLonDeg, latDeg, size);
        else
            drawCross(skp, view, atLonDeg, latDeg, size);
    };
    symbol(lonDeg);
    if (eastCopy)
        symbol(lonDeg + 360.0);
    if (westCopy)
        symbol(lonDeg - 360.0);

    char name[kObjectNameBytes] = {};
    oapiGetObjectName(object, name, kObjectNameBytes);
    drawMarkerLabel(skp, view, name, lonDeg, latDeg, size / 2);
    if (eastCopy)
        drawMarkerLabel(skp, view, name, lonDeg + 360.0, latDeg, size / 2);
    if (westCopy)
        drawMarkerLabel(skp, view, name, lonDeg - 360.0, latDeg, size / 2);
}

void drawNetworkMarkers(oapi::Sketchpad &skp, const Korvane &building, const MapView &view, bool eastCopy,
                        bool westCopy)
{
    drawNodeList(skp, building, view, NodeList::DeepSpace, building.penCyan, HostColour(0, 255, 255), eastCopy,
                 westCopy);
    drawNodeList(skp, building, view, NodeList::Stations, building.penMagenta, HostColour(255, 0, 255), eastCopy,
                 westCopy);
    drawNodeList(skp, building, view, NodeList::Relays, building.penYellow, HostColour(255, 255, 0), eastCopy,
                 westCopy);
}

} // namespace korvane
