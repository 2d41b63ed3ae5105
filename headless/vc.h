// The virtual cockpit of the focus vessel, as the host keeps it: the areas,
// MFD displays and camera limits that the vessel's clbkLoadVC registered, the
// areas a module asked to have redrawn, and the routing of a click in the
// cockpit to the area under it.
//
// Positions are in the vessel frame, in metres. Camera angles are radians.
//
// The camera limits and neighbouring positions outlive a load: a cockpit
// position that sets none keeps those of the previous one, as the simulator
// keeps a vessel's camera settings until they are set again.

#ifndef KORVANE_HEADLESS_VC_H
#define KORVANE_HEADLESS_VC_H

#include <functional>
#include <vector>

#include "VesselAPI.h"

namespace headless {

struct VcArea {
    enum class Zone { None, Sphere, Quad };

    int id = 0;
    bool hasTexture = false;  // registered with a target texture and rectangle
    RECT rect{};              // target rectangle on the texture (pixels)
    int redrawMode = 0;       // PANEL_REDRAW_* flags
    int mouseMode = 0;        // PANEL_MOUSE_* flags
    int backgroundMode = 0;   // PANEL_MAP_* mode
    SURFHANDLE texture = nullptr;
    Zone zone = Zone::None;   // where the area takes clicks
    VECTOR3 centre{};         // sphere centre (m)
    double radius = 0.0;      // sphere radius (m)
    VECTOR3 corners[4]{};     // quadrilateral: top-left, top-right, bottom-left, bottom-right (m)
};

struct VcMfd {
    int mfd = 0;      // 0 left, 1 right
    DWORD nmesh = 0;  // mesh index of the display
    DWORD ngroup = 0; // group index of the display within that mesh
};

struct VcCamera {
    double catchAngleRad = 0.0;
    // How far the view may turn from straight ahead (rad).
    double rotLeft = 0.0, rotRight = 0.0, rotUp = 0.0, rotDown = 0.0;
    // Offsets of the eye when leaning forward, left and right (m).
    VECTOR3 shiftForward{}, shiftLeft{}, shiftRight{};
    // Cockpit positions reached by looking left, right, up and down; -1 for none.
    int neighbours[4] = {-1, -1, -1, -1};
};

class VirtualCockpit {
public:
    // The cockpit of the process's one simulation.
    static VirtualCockpit &instance();

    VirtualCockpit(const VirtualCockpit &) = delete;
    VirtualCockpit &operator=(const VirtualCockpit &) = delete;

    // Starts loading cockpit position `position`: forgets the areas, MFD
    // displays and pending redraws of the previous one. The camera stays.
    void beginLoad(int position);
    // Forgets everything, the camera included; no position is loaded.
    void reset();

    // The loaded position; -1 before any load.
    int position() const { return position_; }

    // --- Registration (the host functions called from clbkLoadVC) ----------
    // Adds an area, or replaces the one with the same id where it stands.
    void registerArea(const VcArea &area);
    // Gives a registered area its click zone; an unknown id is ignored.
    void setSphericalZone(int id, const VECTOR3 &centre, double radius);
    void setQuadrilateralZone(int id, const VECTOR3 &topLeft, const VECTOR3 &topRight, const VECTOR3 &bottomLeft,
                              const VECTOR3 &bottomRight);
    // Adds an MFD display, or replaces the one of the same MFD.
    void registerMfd(const VcMfd &mfd);

    void setCatchAngle(double rad);
    void setRotationRange(double left, double right, double up, double down);
    void setShiftRange(const VECTOR3 &forward, const VECTOR3 &left, const VECTOR3 &right);
    void setNeighbours(int left, int right, int top, int bottom);

    // --- What was registered --------------------------------------------------
    // Areas in registration order.
    const std::vector<VcArea> &areas() const { return areas_; }
    // Null unless an area with that id is registered.
    const VcArea *area(int id) const;
    const std::vector<VcMfd> &mfds() const { return mfds_; }
    const VcCamera &camera() const { return camera_; }

    // --- Redraw requests ------------------------------------------------------
    // Queues a redraw of area_id if vc_id is -1 (any position) or the loaded
    // position; an area already queued is not queued again.
    void triggerRedraw(int vc_id, int area_id);
    // The queued area ids in the order they were first queued; empties the queue.
    std::vector<int> takeTriggeredAreas();

    // --- Clicks -----------------------------------------------------------------
    // The first area, in registration order, whose click zone contains p (m,
    // vessel frame); null if none does. A point counts for a quadrilateral
    // zone if it lies within kQuadDepthMetres of the zone's plane and its
    // projection onto the plane lies inside the quadrilateral (edges included).
    const VcArea *areaAt(const VECTOR3 &p) const;
    // A point inside the area's click zone: the sphere's centre or the mean of
    // the quadrilateral's corners (the origin for an area without a zone).
    static VECTOR3 zoneCentre(const VcArea &area);

    static constexpr double kQuadDepthMetres = 0.05;

    // --- Redraw notification ---------------------------------------------------------
    // Told, on the simulation thread, of every area redraw that drew something
    // (clbkVCRedrawEvent returned true): the area's id and its texture, right
    // after the call, so the texture holds the new picture. One listener at a
    // time; an empty function removes it. It outlives loads and reset(): it
    // belongs to the front end that shows the cockpit, not to a position.
    using RedrawListener = std::function<void(int areaId, SURFHANDLE texture)>;
    void setRedrawListener(RedrawListener listener) { redrawListener_ = std::move(listener); }

    // --- Clicks along a ray, as from the eye through a point of the picture --
    struct RayHit {
        const VcArea *area = nullptr;
        double distance = 0.0; // from the ray's origin to where it enters the zone (m)
        VECTOR3 point{};       // where the ray meets the zone (vessel frame, m): a quadrilateral's
                               // plane, or the ray's nearest approach to a sphere's centre
        VECTOR3 areaPoint{};   // what clbkVCMouseEvent is given: for a quadrilateral the position
                               // within it, (0, 0, 0) top-left to (1, 1, 0) bottom-right; for a
                               // sphere the point
    };
    // The areas whose click zones the ray from origin along direction meets
    // in front of the origin, as the simulator tests them, nearest first
    // (equal distances in registration order): a sphere if the ray passes
    // within its radius of the centre and the centre lies ahead; a
    // quadrilateral if the ray meets its plane ahead, inside the outline of
    // its four corners. A zero direction meets nothing.
    std::vector<RayHit> hitsAlong(const VECTOR3 &origin, const VECTOR3 &direction) const;

    // --- Frame work of the simulator core -----------------------------------------
    // Redraws the areas of iface's cockpit: every area whose redraw mode has
    // PANEL_REDRAW_ALWAYS gets clbkVCRedrawEvent(id, PANEL_REDRAW_ALWAYS,
    // texture); then every queued area not redrawn yet gets
    // clbkVCRedrawEvent(id, PANEL_REDRAW_MOUSE, texture). Queued ids that are
    // not registered are dropped; so is the whole queue if iface is null.
    // Each call that returns true is passed on to the redraw listener.
    void RunCockpitRedraws(VESSEL2 *iface);
    // A left click at p (m, vessel frame): the area under p gets
    // clbkVCMouseEvent with PANEL_MOUSE_LBDOWN, then PANEL_MOUSE_LBUP, each
    // only if the area's mouse mode has that flag. If iface accepts an event
    // (returns true) and the area's redraw mode has PANEL_REDRAW_MOUSE, the
    // area is queued for redraw. False if no area contains p.
    bool ClickAt(VESSEL2 *iface, const VECTOR3 &p);
    // A left click along a ray: the nearest area the ray hits gets the
    // events as from ClickAt, with the hit's areaPoint. False if the ray
    // hits no area.
    bool ClickAlong(VESSEL2 *iface, const VECTOR3 &origin, const VECTOR3 &direction);

private:
    VirtualCockpit() = default;
    VcArea *findArea(int id);
    // One redraw call, passed on to the listener when it drew something.
    void redraw(VESSEL2 *iface, int id, int event, SURFHANDLE texture);
    static bool QuadContains(const VcArea &area, const VECTOR3 &p);
    // The press and release of a click on area, handed point.
    void Deliver(VESSEL2 *iface, const VcArea &area, const VECTOR3 &point);

    int position_ = -1;
    std::vector<VcArea> areas_;
    std::vector<VcMfd> mfds_;
    VcCamera camera_;
    std::vector<int> triggered_;
    RedrawListener redrawListener_;
};

} // namespace headless

#endif // KORVANE_HEADLESS_VC_H
