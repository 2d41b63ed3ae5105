// Host functions on surfaces, sketchpads, pens, brushes and fonts, and the
// constructor and destructor of the host's Sketchpad base class.

#include "DrawAPI.h"
#include "OrbiterAPI.h"
#include "headless/resources.h"
#include "headless/sketchpad_raster.h"
#include "headless/sketchpad_recorder.h"
#include "headless/surfaces.h"

oapi::Sketchpad::Sketchpad(SURFHANDLE s) : surf(s) {}

oapi::Sketchpad::~Sketchpad() {}

SURFHANDLE oapiCreateSurface(int width, int height) { return headless::CreateSurface(width, height); }

void oapiDestroySurface(SURFHANDLE surf) { headless::DestroySurface(surf); }

oapi::Sketchpad *oapiGetSketchpad(SURFHANDLE surf) { return headless::OpenSketchpad(surf); }

void oapiReleaseSketchpad(oapi::Sketchpad *skp) { headless::CloseSketchpad(skp); }

void oapiBlt(SURFHANDLE tgt, SURFHANDLE src, int tgtx, int tgty, int srcx, int srcy, int w, int h, DWORD ck)
{
    // In the Null mode the host does no graphics work at all, so that what
    // is measured is the module's own.
    if (headless::CurrentSketchpadMode() == headless::SketchpadMode::Null)
        return;
    headless::Blit(tgt, tgtx, tgty, src, srcx, srcy, w, h, ck);
}

oapi::Font *oapiCreateFont(int height, bool prop, char *face, FontStyle style)
{
    return headless::NewFont(height, prop, face, style);
}

void oapiReleaseFont(oapi::Font *font) { headless::ReleaseFont(font); }

oapi::Pen *oapiCreatePen(int style, int width, DWORD col) { return headless::NewPen(style, width, col); }

void oapiReleasePen(oapi::Pen *pen) { headless::ReleasePen(pen); }

oapi::Brush *oapiCreateBrush(DWORD col) { return headless::NewBrush(col); }

void oapiReleaseBrush(oapi::Brush *brush) { headless::ReleaseBrush(brush); }
