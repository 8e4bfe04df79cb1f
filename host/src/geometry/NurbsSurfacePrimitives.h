#pragma once

#include "geometry/NurbsSurface.h"

namespace host::geom {

// The two frame vectors of a primitive built around a unit axis a: e1 is the unit vector perpendicular to
// a nearest the coordinate axis least aligned with a (ties: x, then y, then z), e2 = a x e1. For the axis
// (0, 1, 0) that is e1 = (1, 0, 0), e2 = (0, 0, -1). False when a is zero or not finite.
bool primitiveFrame(const Vec3& axis, Vec3& a, Vec3& e1, Vec3& e2);

// Flat rectangle through the origin perpendicular to axis, as `nurbsPlane` makes it: width along U (e1),
// width * lengthRatio along V (e2), so Su x Sv points along the axis. Both directions open, of the given
// degree, with clamped uniform knots 0 .. patches; the CVs sit at the knot averages (Greville points), so
// the parameterisation is linear: S(u, v) = (u / patchesU - 0.5) * width * e1 + (v / patchesV - 0.5) *
// width * lengthRatio * e2. Invalid (see NurbsSurface) for bad arguments.
NurbsSurface makePlane(double width, double lengthRatio, int patchesU, int patchesV, int degree, const Vec3& axis);

// Non-rational approximation of a sphere of the given radius centred at the origin, as `sphere` makes it.
// U runs from the pole at -axis to the pole at +axis: open, `spans` spans, clamped uniform knots
// 0 .. spans, its profile interpolating the half circle at the knot averages (Greville points) and, from
// degree 2 on, leaving the poles level (so the normal at a pole is the axis). V runs
// around the axis, starting at v = 0 in the half plane of e1 and turning from e1 towards -e2 (from +x
// towards +z for the axis y): periodic, `sections` spans, uniform knots, domain 0 .. sections, its CVs on
// a circle scaled so that the surface meets the sphere at every V knot. Su x Sv points outwards. The rows
// of CVs at the poles collapse to the pole points. Needs sections >= max(3, degree) and spans >= 1.
NurbsSurface makeSphere(double radius, int sections, int spans, int degree, const Vec3& axis);

}  // namespace host::geom
