#include "headless/view_camera.h"

#include <cmath>

#include "headless/vecmath.h"

namespace headless {

namespace {

// Half the picture's height in units of distance along forward: a point at
// distance 1 ahead and this far up lies on the top edge.
double HalfHeightSlope(double fovYDeg) { return std::tan(DegreesToRadians(fovYDeg) / 2.0); }

} // namespace

VECTOR3 ViewCamera::right() const { return cross(up, forward); }

bool ViewCamera::Project(const VECTOR3 &p, int width, int height, double *x, double *y) const
{
    VECTOR3 d = p - position;
    double depth = dot(d, forward);
    if (!(depth >= nearMetres))
        return false;
    double slope = HalfHeightSlope(fovYDeg);
    double aspect = static_cast<double>(width) / height;
    double ndcX = dot(d, right()) / (depth * slope * aspect);
    double ndcY = dot(d, up) / (depth * slope);
    *x = (ndcX + 1.0) * 0.5 * width;
    *y = (1.0 - ndcY) * 0.5 * height;
    return true;
}

Ray ViewCamera::RayThrough(double x, double y, int width, int height) const
{
    double slope = HalfHeightSlope(fovYDeg);
    double aspect = static_cast<double>(width) / height;
    double ndcX = 2.0 * x / width - 1.0;
    double ndcY = 1.0 - 2.0 * y / height;
    VECTOR3 d = forward + right() * (ndcX * slope * aspect) + up * (ndcY * slope);
    return Ray{position, unit(d)};
}

void ViewCamera::ViewProjection(int width, int height, double m[16]) const
{
    // Eye coordinates as OpenGL has them: x right, y up, looking down -z.
    const VECTOR3 r = right();
    const VECTOR3 rows[3] = {r, up, -forward};
    double view[16] = {};
    for (int row = 0; row < 3; ++row) {
        view[0 * 4 + row] = rows[row].x;
        view[1 * 4 + row] = rows[row].y;
        view[2 * 4 + row] = rows[row].z;
        view[3 * 4 + row] = -dot(rows[row], position);
    }
    view[15] = 1.0;

    double f = 1.0 / HalfHeightSlope(fovYDeg);
    double aspect = static_cast<double>(width) / height;
    double n = nearMetres, fa = farMetres;
    double proj[16] = {};
    proj[0] = f / aspect;
    proj[5] = f;
    proj[10] = (fa + n) / (n - fa);
    proj[11] = -1.0;
    proj[14] = 2.0 * fa * n / (n - fa);

    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += proj[k * 4 + row] * view[col * 4 + k];
            m[col * 4 + row] = sum;
        }
}

} // namespace headless
