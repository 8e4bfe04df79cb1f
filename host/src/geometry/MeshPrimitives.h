#pragma once

#include "geometry/PolyMesh.h"

namespace host::geom {

// Polygon primitives laid out as Maya's poly commands make them, with their UVs.

// Plane in the xz plane, normal +y, centred at the origin: width along x, height along z, sx by sy
// quads. Vertex (i, j) = (-w/2 + w i/sx, 0, h/2 - h j/sy) has id j (sx + 1) + i and UV (i/sx, j/sy) of
// the same id; quad (i, j) has id j sx + i and corners (i, j), (i+1, j), (i+1, j+1), (i, j+1).
PolyMesh makePolyPlane(double width, double height, int sx, int sy);

// Sphere of radius r centred at the origin, poles on y: sy - 1 rings of sx vertices from the south pole
// up (ring j at latitude -90 + 180 j/sy degrees, vertex i at longitude 360 i/sx degrees measured from +x
// toward -z), then the south and the north pole. Faces: the quads between rings, ring by ring from the
// south, then the sx triangles around the south pole, then those around the north pole; all face
// outward. UVs: u = i/sx (sx + 1 columns, the seam column repeated), v = j/sy per ring, then one UV
// per pole triangle at u = (i + 1/2)/sx and v = 0 (south) or 1 (north).
PolyMesh makePolySphere(double radius, int sx, int sy);

// Box of width (x), height (y) and depth (z) centred at the origin, one quad per side, with Maya's cube
// UV layout: the sides unfolded down the strip u in [3/8, 5/8] (front, top, back, bottom) with the right
// side to its right and the left side to its left, 14 UVs.
PolyMesh makePolyCube(double width, double height, double depth);

}  // namespace host::geom
