#include "headless/cockpit_camera.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "headless/vecmath.h"

namespace headless {

namespace {

constexpr double kHeadPitchLimitDeg = 90.0;

// The external camera's direction from the vessel: 30 degrees to the left
// of straight behind, 12 degrees above the horizon, which stays in the
// picture.
constexpr double kExternalAzimuthDeg = 30.0;
constexpr double kExternalElevationDeg = 12.0;
// Room around the vessel in the picture.
constexpr double kExternalMargin = 1.15;

// Cockpit: nothing within 5 cm of the eye is drawn, nothing beyond 1 km.
constexpr double kCockpitNearMetres = 0.05;
constexpr double kCockpitFarMetres = 1000.0;
constexpr double kExternalFarMetres = 5000.0;

bool KeywordIs(const std::string &word, const char *keyword)
{
    size_t n = std::char_traits<char>::length(keyword);
    if (word.size() != n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(word[i])) != keyword[i])
            return false;
    return true;
}

} // namespace

double CameraBlockFovDeg(const std::vector<std::string> &lines)
{
    double fov = kDefaultFovDeg;
    for (const std::string &line : lines) {
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos)
            continue;
        size_t end = line.find_first_of(" \t", start);
        if (!KeywordIs(line.substr(start, end == std::string::npos ? std::string::npos : end - start), "FOV") ||
            end == std::string::npos)
            continue;
        const char *value = line.c_str() + end;
        char *after = nullptr;
        double deg = std::strtod(value, &after);
        if (after == value || std::strspn(after, " \t\r") != std::strlen(after))
            continue;
        if (deg > 0.0 && deg < 180.0)
            fov = deg;
    }
    return fov;
}

HeadTurn ClampHeadTurn(const VcCamera &limits, const HeadTurn &wanted)
{
    HeadTurn turn;
    turn.yawDeg = std::clamp(wanted.yawDeg, -RadiansToDegrees(limits.rotLeft), RadiansToDegrees(limits.rotRight));
    double down = std::min(RadiansToDegrees(limits.rotDown), kHeadPitchLimitDeg);
    double up = std::min(RadiansToDegrees(limits.rotUp), kHeadPitchLimitDeg);
    turn.pitchDeg = std::clamp(wanted.pitchDeg, -down, up);
    return turn;
}

ViewCamera CockpitCamera(const VECTOR3 &cameraOffset, const VcCamera &limits, const HeadTurn &wanted, double fovDeg)
{
    HeadTurn turn = ClampHeadTurn(limits, wanted);
    double yaw = DegreesToRadians(turn.yawDeg), pitch = DegreesToRadians(turn.pitchDeg);
    ViewCamera camera;
    camera.position = cameraOffset;
    camera.forward = _V(std::sin(yaw) * std::cos(pitch), std::sin(pitch), std::cos(yaw) * std::cos(pitch));
    camera.up = _V(-std::sin(yaw) * std::sin(pitch), std::cos(pitch), -std::cos(yaw) * std::sin(pitch));
    camera.fovYDeg = fovDeg;
    camera.nearMetres = kCockpitNearMetres;
    camera.farMetres = kCockpitFarMetres;
    return camera;
}

ViewCamera ExternalCamera(const VECTOR3 &centre, double radiusMetres, double fovDeg)
{
    double az = DegreesToRadians(kExternalAzimuthDeg), el = DegreesToRadians(kExternalElevationDeg);
    // From the vessel towards the camera: left (-x), back (-z) and up.
    VECTOR3 away = _V(-std::sin(az) * std::cos(el), std::sin(el), -std::cos(az) * std::cos(el));
    double radius = std::max(radiusMetres, 1.0);
    double distance = kExternalMargin * radius / std::sin(DegreesToRadians(fovDeg) / 2.0);
    ViewCamera camera;
    camera.position = centre + away * distance;
    camera.forward = -away;
    // Up: the vessel's +y, made perpendicular to the line of sight.
    camera.up = unit(_V(0, 1, 0) - camera.forward * camera.forward.y);
    camera.fovYDeg = fovDeg;
    camera.nearMetres = std::max(0.05, (distance - radius) / 10.0);
    camera.farMetres = std::max(kExternalFarMetres, 4.0 * distance);
    return camera;
}

double GroundLevel(const std::vector<TOUCHDOWNVTX> &points)
{
    if (points.empty())
        return 0.0;
    double lowest = points.front().pos.y;
    for (const TOUCHDOWNVTX &p : points)
        lowest = std::min(lowest, p.pos.y);
    return lowest;
}

RenderView CockpitView(const ViewCamera &camera)
{
    RenderView view;
    view.camera = camera;
    view.background = {0.0, 0.0, 0.0, 1.0};
    view.light.towardsLight = _V(0.2, 1.0, -0.3);
    view.light.colour = {0.75, 0.75, 0.72, 1.0};
    view.light.ambient = {0.35, 0.35, 0.35, 1.0};
    return view;
}

RenderView ExternalView(const ViewCamera &camera, double groundY)
{
    RenderView view;
    view.camera = camera;
    view.background = {0.53, 0.69, 0.88, 1.0};
    view.ground.shown = true;
    view.ground.y = groundY;
    view.ground.colour = {0.36, 0.42, 0.30, 1.0};
    view.light.towardsLight = _V(0.45, 0.8, -0.4);
    view.light.colour = {0.9, 0.88, 0.82, 1.0};
    view.light.ambient = {0.35, 0.36, 0.4, 1.0};
    return view;
}

} // namespace headless
