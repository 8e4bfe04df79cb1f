#pragma once

#include "geometry/Vec3.h"

namespace host::geom {

// One triangle of a surface swept over a time step: its corners at the start (previous) and at the end
// (current) of the step, and a surface coordinate (u, v) per corner. Positions between the two are
// linear in t: t = 0 is the previous step, t = 1 the current one (values outside extrapolate).
struct SweptTriangle {
    Vec3 previous[3];
    Vec3 current[3];
    double u[3] = {0.0, 0.0, 0.0};
    double v[3] = {0.0, 0.0, 0.0};

    Vec3 vertex(int k, double t) const { return previous[k] + (current[k] - previous[k]) * t; }

    // Unit normal by the right-hand rule over the corner order; zero for a degenerate triangle.
    Vec3 normal(double t) const {
        const Vec3 a = vertex(0, t);
        return normalized(cross(vertex(1, t) - a, vertex(2, t) - a));
    }

    double area(double t) const {
        const Vec3 a = vertex(0, t);
        return 0.5 * length(cross(vertex(1, t) - a, vertex(2, t) - a));
    }
};

}  // namespace host::geom
