#include "apps/control_room_images.h"

#include <cstring>

#include "DrawAPI.h"
#include "headless/mfd_display.h"
#include "headless/surfaces.h"
#include "headless/vc.h"

namespace preview {

namespace {

struct AreaImage {
    int areaId;
    const char *file;
};

// The areas the room shows, by the building's area ids.
const AreaImage kAreaImages[] = {{0, "screen0.png"},   {1, "screen1.png"},     {2, "screen2.png"},
                                 {300, "mfd_left.png"}, {303, "mfd_right.png"}};

// The composite: the three screens in a row as they hang in the room (screen
// 1 on the left, 0 in the middle, 2 on the right), the two MFDs below them,
// each with its display beside its button panel.
constexpr int kRoomWidth = 1980;
constexpr int kRoomHeight = 1110;
constexpr int kMargin = 20;
constexpr int kScreenSize = 633;
constexpr int kMfdSize = 384;
constexpr DWORD kWallColour = 0x202020;

void Fill(SURFHANDLE s, int x0, int y0, int x1, int y1, DWORD colour)
{
    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    if (!skp)
        return;
    oapi::Brush *brush = oapiCreateBrush(colour);
    skp->SetPen(nullptr);
    skp->SetBrush(brush);
    skp->Rectangle(x0, y0, x1, y1);
    skp->SetBrush(nullptr);
    oapiReleaseSketchpad(skp);
    oapiReleaseBrush(brush);
}

// The MFD's own display, as the host's MFD shows it.
void PlaceMfdDisplay(SURFHANDLE room, int mfd, int x, int y)
{
    SURFHANDLE display = headless::MfdDisplays::instance().paint(mfd);
    const int size = headless::MfdDisplays::kSizePixels;
    if (display)
        headless::BlitScaled(room, x, y, kMfdSize, kMfdSize, display, _R(0, 0, size, size));
}

void PlaceArea(SURFHANDLE room, int areaId, int x, int y, int size)
{
    const headless::VcArea *area = headless::VirtualCockpit::instance().area(areaId);
    if (area && area->hasTexture)
        headless::BlitScaled(room, x, y, size, size, area->texture, area->rect);
}

} // namespace

bool WriteControlRoomImages(const std::string &outDir, std::vector<std::string> *written)
{
    const headless::VirtualCockpit &cockpit = headless::VirtualCockpit::instance();
    if (cockpit.position() < 0)
        return false;
    bool ok = true;
    for (const AreaImage &image : kAreaImages) {
        const headless::VcArea *area = cockpit.area(image.areaId);
        if (!area || !area->hasTexture)
            continue;
        std::string path = outDir + "/" + image.file;
        if (headless::WritePng(area->texture, path, &area->rect))
            written->push_back(path);
        else
            ok = false;
    }

    SURFHANDLE room = headless::CreateSurface(kRoomWidth, kRoomHeight);
    Fill(room, 0, 0, kRoomWidth, kRoomHeight, kWallColour);
    const int screenIds[3] = {1, 0, 2};
    for (int i = 0; i < 3; ++i)
        PlaceArea(room, screenIds[i], kMargin + i * (kScreenSize + kMargin), kMargin, kScreenSize);

    const int mfdTop = kMargin + kScreenSize + 2 * kMargin;
    const int leftX = kRoomWidth / 2 - 2 * kMfdSize - 2 * kMargin;
    PlaceMfdDisplay(room, 0, leftX, mfdTop);
    PlaceArea(room, 300, leftX + kMfdSize + kMargin / 2, mfdTop, kMfdSize);
    const int rightX = kRoomWidth / 2 + 2 * kMargin;
    PlaceArea(room, 303, rightX, mfdTop, kMfdSize);
    PlaceMfdDisplay(room, 1, rightX + kMfdSize + kMargin / 2, mfdTop);

    std::string path = outDir + "/controlroom.png";
    if (headless::WritePng(room, path))
        written->push_back(path);
    else
        ok = false;
    headless::DestroySurface(room);
    return ok;
}

} // namespace preview
