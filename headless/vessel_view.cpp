#include "headless/vessel_view.h"

#include "headless/meshes.h"
#include "headless/mfd_display.h"
#include "headless/scenario.h"
#include "headless/simulator.h"
#include "headless/surfaces.h"
#include "headless/vc.h"

namespace headless {

namespace {

RenderColour Colour(const MeshColour &c) { return RenderColour{c.r, c.g, c.b, c.a}; }

RenderMaterial Material(const MeshFile &file, uint32_t index)
{
    if (index == 0 || index > file.materials.size())
        return RenderMaterial{};
    const MeshMaterial &m = file.materials[index - 1];
    RenderMaterial r;
    r.diffuse = Colour(m.diffuse);
    r.ambient = Colour(m.ambient);
    r.specular = Colour(m.specular);
    r.emissive = Colour(m.emissive);
    r.specularPower = m.specularPower;
    return r;
}

bool SameEntries(const std::vector<Vessel::MeshEntry> &a, const std::vector<Vessel::MeshEntry> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].mesh != b[i].mesh || a[i].visibility != b[i].visibility || a[i].offset.x != b[i].offset.x ||
            a[i].offset.y != b[i].offset.y || a[i].offset.z != b[i].offset.z)
            return false;
    return true;
}

} // namespace

double SessionFovDeg(const Simulator &sim)
{
    const ScenarioSection *camera = FindSection(sim.sections(), "CAMERA");
    return camera ? CameraBlockFovDeg(camera->lines) : kDefaultFovDeg;
}

VesselView::Built &VesselView::built(const Vessel &v, ViewKind kind)
{
    Built &b = kind == ViewKind::Cockpit ? cockpit_ : external_;
    if (b.valid && SameEntries(b.entries, v.meshes))
        return b;
    b = Built{};
    b.valid = true;
    b.entries = v.meshes;
    b.meshes.resize(v.meshes.size());
    b.textures.resize(v.meshes.size());
    for (size_t i = 0; i < v.meshes.size(); ++i) {
        const Vessel::MeshEntry &entry = v.meshes[i];
        const Mesh *mesh = MeshStore::instance().fromHandle(entry.mesh);
        RenderMesh &out = b.meshes[i];
        out.offset = entry.offset;
        if (!mesh || !MeshShownIn(entry.visibility, kind))
            continue;
        const MeshFile &file = mesh->file();
        out.groups.resize(file.groups.size());
        b.textures[i].resize(file.groups.size());
        for (size_t k = 0; k < file.groups.size(); ++k) {
            const MeshGroup &g = file.groups[k];
            RenderGroup &r = out.groups[k];
            r.vertices.reserve(g.vertices.size());
            // The reader gives groups without normals zero normals, which
            // the renderer lights as facing the light.
            for (const MeshVertex &p : g.vertices)
                r.vertices.push_back(RenderVertex{p.x, p.y, p.z, p.nx, p.ny, p.nz, p.u, p.v});
            r.indices = g.indices;
            r.material = Material(file, g.material);
            b.textures[i][k] = GroupTexture{mesh->texture(g.texture), mesh->textureStaticId(g.texture)};
        }
    }
    BoundingSphere(b.meshes, &b.centre, &b.radius);
    return b;
}

const std::vector<RenderMesh> &VesselView::meshes(const Vessel &v, ViewKind kind) { return built(v, kind).meshes; }

ViewCamera VesselView::camera(const Vessel &v, const ViewSpec &spec)
{
    if (spec.kind == ViewKind::Cockpit)
        return CockpitCamera(v.cameraOffset, VirtualCockpit::instance().camera(), spec.look, spec.fovDeg);
    const Built &b = built(v, ViewKind::External);
    return ExternalCamera(b.centre, b.radius, spec.fovDeg);
}

const ViewInput &VesselView::gather(const Vessel &v, const ViewSpec &spec)
{
    Built &b = built(v, spec.kind);
    // The picture's own texture list: each surface once, looked up afresh,
    // so that a surface destroyed since the last picture draws untextured.
    ViewTextures textures;
    for (size_t i = 0; i < b.meshes.size(); ++i)
        for (size_t k = 0; k < b.meshes[i].groups.size(); ++k) {
            const GroupTexture &t = b.textures[i][k];
            b.meshes[i].groups[k].texture = t.surface ? textures.add(t.surface, t.staticId) : -1;
        }
    if (spec.kind == ViewKind::Cockpit) {
        MfdDisplays &displays = MfdDisplays::instance();
        const SURFHANDLE painted[2] = {displays.paint(0), displays.paint(1)};
        ShowMfdDisplays(VirtualCockpit::instance().mfds(), painted, 2, b.meshes, textures);
        input_.view = CockpitView(camera(v, spec));
    } else {
        input_.view = ExternalView(camera(v, spec), GroundLevel(v.touchdownPoints));
    }
    input_.meshes = &b.meshes;
    input_.textures = textures.textures();
    return input_;
}

bool VesselView::render(const Vessel &v, const ViewSpec &spec, Surface &image, std::string *error)
{
    const ViewInput &input = gather(v, spec);
    return Render(input.view, *input.meshes, input.textures, image, error);
}

} // namespace headless
