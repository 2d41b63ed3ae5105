#include "headless/mfd_display.h"

#include <string>

#include "DrawAPI.h"
#include "headless/surfaces.h"

namespace headless {

namespace {

constexpr DWORD kBackground = 0x000000;
constexpr DWORD kFrameColour = 0x406040;
constexpr DWORD kTextColour = 0x00E000;
// Courier's characters are 0.61 of its height wide: at 21 pixels the longest
// line an MFD shows, a menu's 36 characters ("ALT  Altitude: mean radius or
// ground"), fills 460 of the 480 pixels within the margins.
constexpr int kFontHeight = 21;
constexpr int kMarginLeft = 16;   // text's left edge
constexpr int kTitleTop = 13;
constexpr int kFirstLineTop = 56; // below the title
constexpr int kLineSpacing = 32;  // a menu's twelve lines fit

void Paint(SURFHANDLE s, int mfd)
{
    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    if (!skp)
        return;
    oapi::Brush *black = oapiCreateBrush(kBackground);
    oapi::Pen *frame = oapiCreatePen(1, 1, kFrameColour);
    char face[] = "Courier";
    oapi::Font *font = oapiCreateFont(kFontHeight, false, face);
    skp->SetPen(nullptr);
    skp->SetBrush(black);
    skp->Rectangle(0, 0, MfdDisplays::kSizePixels, MfdDisplays::kSizePixels);
    const MfdModel &model = MfdModel::instance();
    const MfdModel::Display *display = model.display(mfd);
    if (display && display->on) {
        skp->SetPen(frame);
        skp->SetBrush(nullptr);
        skp->Rectangle(0, 0, MfdDisplays::kSizePixels, MfdDisplays::kSizePixels);
        skp->SetFont(font);
        skp->SetTextColor(kTextColour);
        std::string title = model.title(mfd);
        skp->Text(kMarginLeft, kTitleTop, title.c_str(), static_cast<int>(title.size()));
        int y = kFirstLineTop;
        for (const std::string &line : model.displayLines(mfd)) {
            skp->Text(kMarginLeft, y, line.c_str(), static_cast<int>(line.size()));
            y += kLineSpacing;
        }
        skp->SetFont(nullptr);
    }
    skp->SetPen(nullptr);
    skp->SetBrush(nullptr);
    oapiReleaseSketchpad(skp);
    oapiReleaseFont(font);
    oapiReleasePen(frame);
    oapiReleaseBrush(black);
}

} // namespace

MfdDisplays &MfdDisplays::instance()
{
    static MfdDisplays displays;
    return displays;
}

SURFHANDLE MfdDisplays::paint(int mfd)
{
    if (mfd < 0 || mfd >= MfdModel::kMfdCount)
        return nullptr;
    if (!surfaces_[mfd])
        surfaces_[mfd] = CreateSurface(kSizePixels, kSizePixels);
    Paint(surfaces_[mfd], mfd);
    return surfaces_[mfd];
}

SURFHANDLE MfdDisplays::surface(int mfd) const
{
    return mfd >= 0 && mfd < MfdModel::kMfdCount ? surfaces_[mfd] : nullptr;
}

void MfdDisplays::reset()
{
    for (SURFHANDLE &s : surfaces_) {
        DestroySurface(s);
        s = nullptr;
    }
}

} // namespace headless
