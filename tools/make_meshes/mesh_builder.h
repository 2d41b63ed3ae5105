// Building blocks of the control room's meshes: faces, boxes and solids
// added to a mesh group, every triangle wound clockwise as seen from its
// front (the simulator's left-handed convention), with flat normals.
//
// Coordinates are the mesh's own frame in metres (x right, y up, z forward).

#ifndef KORVANE_TOOLS_MAKE_MESHES_MESH_BUILDER_H
#define KORVANE_TOOLS_MAKE_MESHES_MESH_BUILDER_H

#include <vector>

#include "headless/mesh_file.h"

namespace meshgen {

struct Vec {
    double x, y, z;
};

inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec operator*(Vec a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double Dot(Vec a, Vec b);
// The cross product as the left-handed frame computes it: for a triangle
// a, b, c wound clockwise as seen from its front, Cross(b - a, c - a)
// points to the front.
Vec Cross(Vec a, Vec b);
Vec Normalised(Vec a);

// Texture coordinates of a face's corners: (u0, v0) at the top left,
// (u1, v1) at the bottom right.
struct UvRect {
    double u0 = 0.0, v0 = 0.0, u1 = 1.0, v1 = 1.0;
};

// Which faces of a box to make: its six sides by outward direction.
enum BoxSide : unsigned {
    kBoxLeft = 1u, kBoxRight = 2u, kBoxBottom = 4u, kBoxTop = 8u, kBoxBack = 16u, kBoxFront = 32u,
    kBoxAllButBottom = 1u | 2u | 8u | 16u | 32u,
};

class GroupBuilder {
public:
    explicit GroupBuilder(headless::MeshGroup &group) : group_(group) {}

    // A quad by its corners as seen from the front: top left, top right,
    // bottom right, bottom left.
    void quad(Vec tl, Vec tr, Vec br, Vec bl, UvRect uv = {});
    // The same quad cut into columns x rows tiles, each with the whole
    // texture (so that a texture repeats without relying on wrapping).
    void tiledQuad(Vec tl, Vec tr, Vec br, Vec bl, int columns, int rows);
    // face() cut into columns x rows tiles, as tiledQuad.
    void tiledFace(Vec centre, Vec front, Vec up, double width, double height, int columns, int rows);
    // A rectangle of width x height about a centre, its front towards
    // `front` and its top edge towards `up` (unit vectors at right angles).
    void face(Vec centre, Vec front, Vec up, double width, double height, UvRect uv = {});
    // A triangle whose front faces away from `inside` (a point within the
    // solid it closes).
    void triangleAwayFrom(Vec a, Vec b, Vec c, Vec inside);
    // A convex polygon (corners in order around it) facing away from `inside`.
    void polygonAwayFrom(const std::vector<Vec> &corners, Vec inside);
    // An axis-aligned box seen from outside (or, with inward, from within),
    // with the chosen sides.
    void box(Vec min, Vec max, unsigned sides = kBoxAllButBottom, bool inward = false);

private:
    void vertex(Vec p, Vec n, double u, double v);

    headless::MeshGroup &group_;
};

} // namespace meshgen

#endif // KORVANE_TOOLS_MAKE_MESHES_MESH_BUILDER_H
