#include "headless/vc.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "headless/vecmath.h"

namespace headless {

namespace {

// Slack (m) for points on a quadrilateral's edge, against rounding in the
// projection.
constexpr double kEdgeToleranceMetres = 1e-9;

} // namespace

VirtualCockpit &VirtualCockpit::instance()
{
    static VirtualCockpit cockpit;
    return cockpit;
}

void VirtualCockpit::beginLoad(int position)
{
    position_ = position;
    areas_.clear();
    mfds_.clear();
    triggered_.clear();
}

void VirtualCockpit::reset()
{
    beginLoad(-1);
    camera_ = VcCamera();
}

VcArea *VirtualCockpit::findArea(int id)
{
    for (VcArea &a : areas_)
        if (a.id == id)
            return &a;
    return nullptr;
}

const VcArea *VirtualCockpit::area(int id) const
{
    for (const VcArea &a : areas_)
        if (a.id == id)
            return &a;
    return nullptr;
}

void VirtualCockpit::registerArea(const VcArea &area)
{
    if (VcArea *existing = findArea(area.id))
        *existing = area;
    else
        areas_.push_back(area);
}

void VirtualCockpit::setSphericalZone(int id, const VECTOR3 &centre, double radius)
{
    VcArea *a = findArea(id);
    if (!a)
        return;
    a->zone = VcArea::Zone::Sphere;
    a->centre = centre;
    a->radius = radius;
}

void VirtualCockpit::setQuadrilateralZone(int id, const VECTOR3 &topLeft, const VECTOR3 &topRight,
                                          const VECTOR3 &bottomLeft, const VECTOR3 &bottomRight)
{
    VcArea *a = findArea(id);
    if (!a)
        return;
    a->zone = VcArea::Zone::Quad;
    a->corners[0] = topLeft;
    a->corners[1] = topRight;
    a->corners[2] = bottomLeft;
    a->corners[3] = bottomRight;
}

void VirtualCockpit::registerMfd(const VcMfd &mfd)
{
    for (VcMfd &m : mfds_) {
        if (m.mfd == mfd.mfd) {
            m = mfd;
            return;
        }
    }
    mfds_.push_back(mfd);
}

void VirtualCockpit::setCatchAngle(double rad) { camera_.catchAngleRad = rad; }

void VirtualCockpit::setRotationRange(double left, double right, double up, double down)
{
    camera_.rotLeft = left;
    camera_.rotRight = right;
    camera_.rotUp = up;
    camera_.rotDown = down;
}

void VirtualCockpit::setShiftRange(const VECTOR3 &forward, const VECTOR3 &left, const VECTOR3 &right)
{
    camera_.shiftForward = forward;
    camera_.shiftLeft = left;
    camera_.shiftRight = right;
}

void VirtualCockpit::setNeighbours(int left, int right, int top, int bottom)
{
    camera_.neighbours[0] = left;
    camera_.neighbours[1] = right;
    camera_.neighbours[2] = top;
    camera_.neighbours[3] = bottom;
}

void VirtualCockpit::triggerRedraw(int vc_id, int area_id)
{
    if (vc_id != -1 && vc_id != position_)
        return;
    if (std::find(triggered_.begin(), triggered_.end(), area_id) == triggered_.end())
        triggered_.push_back(area_id);
}

std::vector<int> VirtualCockpit::takeTriggeredAreas()
{
    std::vector<int> taken;
    taken.swap(triggered_);
    return taken;
}

bool VirtualCockpit::QuadContains(const VcArea &area, const VECTOR3 &p)
{
    const VECTOR3 &tl = area.corners[0];
    // The plane through the top-left corner spanned by the top edge and the
    // left edge.
    VECTOR3 normal = unit(cross(area.corners[1] - tl, area.corners[2] - tl));
    if (length(normal) == 0.0)
        return false; // the corners span no plane
    double depth = dot(p - tl, normal);
    if (std::fabs(depth) > kQuadDepthMetres)
        return false;
    VECTOR3 q = p - normal * depth;
    // Walking the outline top-left, top-right, bottom-right, bottom-left, the
    // inside is on the side of every edge that the normal turns it to.
    const VECTOR3 outline[4] = {area.corners[0], area.corners[1], area.corners[3], area.corners[2]};
    for (int i = 0; i < 4; ++i) {
        VECTOR3 from = outline[i];
        VECTOR3 edge = outline[(i + 1) % 4] - from;
        double edgeLength = length(edge);
        if (edgeLength == 0.0)
            continue;
        // Signed distance (m) of q from the edge's line, positive inside.
        double side = dot(cross(edge, q - from), normal) / edgeLength;
        if (side < -kEdgeToleranceMetres)
            return false;
    }
    return true;
}

const VcArea *VirtualCockpit::areaAt(const VECTOR3 &p) const
{
    for (const VcArea &a : areas_) {
        switch (a.zone) {
        case VcArea::Zone::Sphere:
            if (length(p - a.centre) <= a.radius)
                return &a;
            break;
        case VcArea::Zone::Quad:
            if (QuadContains(a, p))
                return &a;
            break;
        case VcArea::Zone::None:
            break;
        }
    }
    return nullptr;
}

VECTOR3 VirtualCockpit::zoneCentre(const VcArea &area)
{
    switch (area.zone) {
    case VcArea::Zone::Sphere:
        return area.centre;
    case VcArea::Zone::Quad:
        return (area.corners[0] + area.corners[1] + area.corners[2] + area.corners[3]) / 4.0;
    case VcArea::Zone::None:
        break;
    }
    return _V(0, 0, 0);
}

void VirtualCockpit::redraw(VESSEL2 *iface, int id, int event, SURFHANDLE texture)
{
    if (iface->clbkVCRedrawEvent(id, event, texture) && redrawListener_)
        redrawListener_(id, texture);
}

void VirtualCockpit::RunCockpitRedraws(VESSEL2 *iface)
{
    std::vector<int> triggered = takeTriggeredAreas();
    if (!iface)
        return;
    // Taken before the first call: a redraw callback may register areas and
    // so move the stored ones.
    std::vector<VcArea> always;
    for (const VcArea &a : areas_)
        if (a.redrawMode & PANEL_REDRAW_ALWAYS)
            always.push_back(a);
    for (const VcArea &a : always)
        redraw(iface, a.id, PANEL_REDRAW_ALWAYS, a.texture);
    for (int id : triggered) {
        bool redrawn = std::any_of(always.begin(), always.end(), [id](const VcArea &a) { return a.id == id; });
        const VcArea *a = area(id);
        if (!redrawn && a)
            redraw(iface, id, PANEL_REDRAW_MOUSE, a->texture);
    }
}

void VirtualCockpit::Deliver(VESSEL2 *iface, const VcArea &area, const VECTOR3 &p)
{
    // Copied: the callbacks may register areas and so move the stored ones.
    const VcArea hit = area;
    bool accepted = false;
    for (int event : {PANEL_MOUSE_LBDOWN, PANEL_MOUSE_LBUP}) {
        if (!(hit.mouseMode & event))
            continue;
        VECTOR3 point = p;
        if (iface->clbkVCMouseEvent(hit.id, event, point))
            accepted = true;
    }
    if (accepted && (hit.redrawMode & PANEL_REDRAW_MOUSE))
        triggerRedraw(-1, hit.id);
}

bool VirtualCockpit::ClickAt(VESSEL2 *iface, const VECTOR3 &p)
{
    const VcArea *a = areaAt(p);
    if (!a)
        return false;
    if (iface)
        Deliver(iface, *a, p);
    return true;
}

namespace {

double Cross2(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// The position (u, v) of point q, lying in the plane of the quadrilateral
// tl, tr, bl, br, within it: the bilinear map (u, v) -> tl + u (tr - tl) +
// v (bl - tl) + u v (br - bl - tr + tl) solved for u and v in the plane's
// own axes.
VECTOR3 PositionInQuad(const VECTOR3 &tl, const VECTOR3 &tr, const VECTOR3 &bl, const VECTOR3 &br,
                       const VECTOR3 &normal, const VECTOR3 &q)
{
    VECTOR3 ax = unit(tr - tl);
    if (length(ax) == 0.0)
        ax = unit(bl - tl);
    const VECTOR3 ay = cross(normal, ax);
    auto flat = [&](const VECTOR3 &p, double *x, double *y) {
        *x = dot(p, ax);
        *y = dot(p, ay);
    };
    double ex, ey, fx, fy, gx, gy, hx, hy;
    flat(tr - tl, &ex, &ey);
    flat(bl - tl, &fx, &fy);
    flat(br - bl - tr + tl, &gx, &gy);
    flat(q - tl, &hx, &hy);
    // h = u e + v f + u v g  gives  k2 v^2 + k1 v + k0 = 0.
    const double k2 = Cross2(gx, gy, fx, fy);
    const double k1 = Cross2(ex, ey, fx, fy) + Cross2(hx, hy, gx, gy);
    const double k0 = Cross2(hx, hy, ex, ey);
    double v = 0.0;
    if (std::fabs(k2) < 1e-12 * (std::fabs(k1) + 1e-300)) {
        v = k1 != 0.0 ? -k0 / k1 : 0.0;
    } else {
        double root = std::sqrt(std::max(k1 * k1 - 4.0 * k0 * k2, 0.0));
        double v1 = (-k1 - root) / (2.0 * k2), v2 = (-k1 + root) / (2.0 * k2);
        v = std::fabs(v1 - 0.5) <= std::fabs(v2 - 0.5) ? v1 : v2;
    }
    // h - v f = u (e + v g)
    double dx = ex + v * gx, dy = ey + v * gy;
    double d2 = dx * dx + dy * dy;
    double u = d2 > 0.0 ? ((hx - v * fx) * dx + (hy - v * fy) * dy) / d2 : 0.0;
    return _V(u, v, 0.0);
}

} // namespace

std::vector<VirtualCockpit::RayHit> VirtualCockpit::hitsAlong(const VECTOR3 &origin, const VECTOR3 &direction) const
{
    std::vector<RayHit> hits;
    const VECTOR3 d = unit(direction);
    if (length(d) == 0.0)
        return hits;
    for (const VcArea &a : areas_) {
        RayHit hit;
        hit.area = &a;
        switch (a.zone) {
        case VcArea::Zone::Sphere: {
            const VECTOR3 toCentre = a.centre - origin;
            const double along = dot(toCentre, d);
            if (along <= 0.0)
                continue; // the centre is behind the eye
            const double miss2 = std::max(dot(toCentre, toCentre) - along * along, 0.0);
            if (miss2 > a.radius * a.radius)
                continue;
            hit.distance = std::max(along - std::sqrt(a.radius * a.radius - miss2), 0.0);
            hit.point = origin + d * along;
            hit.areaPoint = hit.point;
            break;
        }
        case VcArea::Zone::Quad: {
            const VECTOR3 &tl = a.corners[0];
            const VECTOR3 normal = unit(cross(a.corners[1] - tl, a.corners[2] - tl));
            const double facing = dot(d, normal);
            if (length(normal) == 0.0 || std::fabs(facing) < 1e-12)
                continue; // no plane, or the ray runs along it
            const double along = dot(tl - origin, normal) / facing;
            if (along <= 0.0)
                continue; // the plane is met behind the eye
            hit.distance = along;
            hit.point = origin + d * along;
            if (!QuadContains(a, hit.point))
                continue;
            hit.areaPoint = PositionInQuad(tl, a.corners[1], a.corners[2], a.corners[3], normal, hit.point);
            break;
        }
        case VcArea::Zone::None:
            continue;
        }
        hits.push_back(hit);
    }
    std::stable_sort(hits.begin(), hits.end(), [](const RayHit &x, const RayHit &y) { return x.distance < y.distance; });
    return hits;
}

bool VirtualCockpit::ClickAlong(VESSEL2 *iface, const VECTOR3 &origin, const VECTOR3 &direction)
{
    std::vector<RayHit> hits = hitsAlong(origin, direction);
    if (hits.empty())
        return false;
    if (iface)
        Deliver(iface, *hits.front().area, hits.front().areaPoint);
    return true;
}

} // namespace headless

// --- Host functions -------------------------------------------------------------

using headless::VcArea;
using headless::VirtualCockpit;

void oapiVCRegisterArea(int id, const RECT &tgtrect, int draw_event, int mouse_event, int bkmode, SURFHANDLE tgt)
{
    VcArea a;
    a.id = id;
    a.hasTexture = true;
    a.rect = tgtrect;
    a.redrawMode = draw_event;
    a.mouseMode = mouse_event;
    a.backgroundMode = bkmode;
    a.texture = tgt;
    VirtualCockpit::instance().registerArea(a);
}

void oapiVCRegisterArea(int id, int draw_event, int mouse_event)
{
    VcArea a;
    a.id = id;
    a.redrawMode = draw_event;
    a.mouseMode = mouse_event;
    VirtualCockpit::instance().registerArea(a);
}

void oapiVCSetAreaClickmode_Spherical(int id, const VECTOR3 &cnt, double rad)
{
    VirtualCockpit::instance().setSphericalZone(id, cnt, rad);
}

void oapiVCSetAreaClickmode_Quadrilateral(int id, const VECTOR3 &p1, const VECTOR3 &p2, const VECTOR3 &p3,
                                          const VECTOR3 &p4)
{
    VirtualCockpit::instance().setQuadrilateralZone(id, p1, p2, p3, p4);
}

void oapiVCRegisterMFD(int mfd, const VCMFDSPEC *display)
{
    if (!display)
        return;
    VirtualCockpit::instance().registerMfd(headless::VcMfd{mfd, display->nmesh, display->ngroup});
}

void oapiVCTriggerRedrawArea(int vc_id, int area_id) { VirtualCockpit::instance().triggerRedraw(vc_id, area_id); }

void oapiVCSetNeighbours(int left, int right, int top, int bottom)
{
    VirtualCockpit::instance().setNeighbours(left, right, top, bottom);
}

// The camera settings are made from the loading vessel's clbkLoadVC and
// belong to the cockpit being loaded.
void VESSEL::SetCameraCatchAngle(double cangle) const { VirtualCockpit::instance().setCatchAngle(cangle); }

void VESSEL::SetCameraRotationRange(double left, double right, double up, double down) const
{
    VirtualCockpit::instance().setRotationRange(left, right, up, down);
}

void VESSEL::SetCameraShiftRange(const VECTOR3 &fpos, const VECTOR3 &lpos, const VECTOR3 &rpos) const
{
    VirtualCockpit::instance().setShiftRange(fpos, lpos, rpos);
}
