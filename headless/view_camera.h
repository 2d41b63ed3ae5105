// A pinhole camera in a vessel's frame, and the one mapping between that
// frame and the pixels of a picture that the 3D renderer, clicks through a
// picture and tests all share.
//
// The frame is the simulator's: left-handed, x right, y up, z forward,
// metres. The camera looks along `forward` with `up` towards the top of the
// picture and `right()` = up x forward (computed with the usual component
// formula) towards its right edge, so a picture is neither mirrored nor
// upside down.
//
// Picture coordinates are continuous pixels: (0, 0) is the top-left corner
// of the picture, x grows to the right and y downwards, and pixel (i, j)
// covers [i, i + 1) x [j, j + 1), its centre at (i + 0.5, j + 0.5).

#ifndef KORVANE_HEADLESS_VIEW_CAMERA_H
#define KORVANE_HEADLESS_VIEW_CAMERA_H

#include "OrbiterAPI.h"

namespace headless {

struct Ray {
    VECTOR3 origin{};    // vessel frame (m)
    VECTOR3 direction{}; // unit vector
};

struct ViewCamera {
    VECTOR3 position = _V(0, 0, 0); // the eye, vessel frame (m)
    VECTOR3 forward = _V(0, 0, 1);  // unit viewing direction
    VECTOR3 up = _V(0, 1, 0);       // unit, perpendicular to forward
    double fovYDeg = 40.0;          // vertical field of view, top edge to bottom edge (degrees)
    double nearMetres = 0.05;       // nothing nearer than this along forward is drawn
    double farMetres = 2000.0;      // nor anything farther

    // The unit vector towards the right edge of the picture.
    VECTOR3 right() const;

    // Where point p appears in a width x height picture. False (and
    // nothing written) if p is not in front of the eye, that is nearer
    // than nearMetres along forward; a point in front but outside the field
    // of view gets coordinates outside the picture.
    bool Project(const VECTOR3 &p, int width, int height, double *x, double *y) const;

    // The ray from the eye through picture point (x, y) of a width x height
    // picture; the exact inverse of Project: every point of the ray in
    // front of the eye projects back to (x, y).
    Ray RayThrough(double x, double y, int width, int height) const;
    // The ray through the centre of pixel (i, j).
    Ray RayThroughPixel(int i, int j, int width, int height) const
    {
        return RayThrough(i + 0.5, j + 0.5, width, height);
    }

    // The OpenGL view-projection matrix (column-major, 16 values) that draws
    // the frame on a width x height picture as Project maps it: x of the
    // normalised device coordinates runs from the left edge (-1) to the
    // right (+1), y from the bottom edge (-1) to the top (+1), depth from
    // nearMetres (-1) to farMetres (+1).
    void ViewProjection(int width, int height, double matrix[16]) const;
};

} // namespace headless

#endif // KORVANE_HEADLESS_VIEW_CAMERA_H
