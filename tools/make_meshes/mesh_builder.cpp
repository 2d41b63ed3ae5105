#include "tools/make_meshes/mesh_builder.h"

#include <cmath>

namespace meshgen {

double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

Vec Normalised(Vec a)
{
    double length = std::sqrt(Dot(a, a));
    return length > 0.0 ? a * (1.0 / length) : a;
}

void GroupBuilder::vertex(Vec p, Vec n, double u, double v)
{
    group_.vertices.push_back({p.x, p.y, p.z, n.x, n.y, n.z, u, v});
}

void GroupBuilder::quad(Vec tl, Vec tr, Vec br, Vec bl, UvRect uv)
{
    const Vec n = Normalised(Cross(tr - tl, br - tl));
    const uint32_t first = static_cast<uint32_t>(group_.vertices.size());
    vertex(tl, n, uv.u0, uv.v0);
    vertex(tr, n, uv.u1, uv.v0);
    vertex(br, n, uv.u1, uv.v1);
    vertex(bl, n, uv.u0, uv.v1);
    for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u})
        group_.indices.push_back(first + i);
}

void GroupBuilder::tiledQuad(Vec tl, Vec tr, Vec br, Vec bl, int columns, int rows)
{
    auto at = [&](int column, int row) {
        double s = static_cast<double>(column) / columns, t = static_cast<double>(row) / rows;
        Vec top = tl + (tr - tl) * s, bottom = bl + (br - bl) * s;
        return top + (bottom - top) * t;
    };
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            quad(at(column, row), at(column + 1, row), at(column + 1, row + 1), at(column, row + 1));
}

void GroupBuilder::face(Vec centre, Vec front, Vec up, double width, double height, UvRect uv)
{
    // The viewer in front looks along -front; its right hand is up x view.
    const Vec right = Cross(up, front * -1.0);
    const Vec r = right * (width / 2), u = up * (height / 2);
    quad(centre - r + u, centre + r + u, centre + r - u, centre - r - u, uv);
}

void GroupBuilder::tiledFace(Vec centre, Vec front, Vec up, double width, double height, int columns, int rows)
{
    const Vec right = Cross(up, front * -1.0);
    const Vec r = right * (width / 2), u = up * (height / 2);
    tiledQuad(centre - r + u, centre + r + u, centre + r - u, centre - r - u, columns, rows);
}

void GroupBuilder::triangleAwayFrom(Vec a, Vec b, Vec c, Vec inside)
{
    Vec n = Cross(b - a, c - a);
    Vec centroid = (a + b + c) * (1.0 / 3.0);
    if (Dot(n, centroid - inside) < 0.0) {
        std::swap(b, c);
        n = n * -1.0;
    }
    n = Normalised(n);
    const uint32_t first = static_cast<uint32_t>(group_.vertices.size());
    vertex(a, n, 0.0, 0.0);
    vertex(b, n, 0.0, 0.0);
    vertex(c, n, 0.0, 0.0);
    for (uint32_t i : {0u, 1u, 2u})
        group_.indices.push_back(first + i);
}

void GroupBuilder::polygonAwayFrom(const std::vector<Vec> &corners, Vec inside)
{
    for (size_t i = 1; i + 1 < corners.size(); ++i)
        triangleAwayFrom(corners[0], corners[i], corners[i + 1], inside);
}

void GroupBuilder::box(Vec min, Vec max, unsigned sides, bool inward)
{
    const Vec c = (min + max) * 0.5, size = max - min;
    const double k = inward ? -1.0 : 1.0;
    const Vec up{0, 1, 0}, forward{0, 0, 1};
    if (sides & kBoxLeft)
        face({min.x, c.y, c.z}, Vec{-1, 0, 0} * k, up, size.z, size.y);
    if (sides & kBoxRight)
        face({max.x, c.y, c.z}, Vec{1, 0, 0} * k, up, size.z, size.y);
    if (sides & kBoxBack)
        face({c.x, c.y, min.z}, Vec{0, 0, -1} * k, up, size.x, size.y);
    if (sides & kBoxFront)
        face({c.x, c.y, max.z}, Vec{0, 0, 1} * k, up, size.x, size.y);
    if (sides & kBoxTop)
        face({c.x, max.y, c.z}, Vec{0, 1, 0} * k, forward, size.x, size.z);
    if (sides & kBoxBottom)
        face({c.x, min.y, c.z}, Vec{0, -1, 0} * k, forward, size.x, size.z);
}

} // namespace meshgen
