#include "apps/control_room_images.h"

#include "apps/preview_options.h"
#include "headless/simulator.h"
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

} // namespace

bool WriteAreaImages(const std::string &outDir, std::vector<std::string> *written)
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
    return ok;
}

bool WriteViewImage(headless::Simulator &sim, headless::VesselView &view, const headless::ViewSpec &spec,
                    const std::string &path, std::string *error)
{
    if (!sim.focus()) {
        *error = "no focus vessel to show";
        return false;
    }
    headless::Surface image(kViewWidth, kViewHeight);
    if (!view.render(*sim.focus(), spec, image, error))
        return false;
    if (!headless::WritePng(image, path)) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace preview
