#ifndef MDYNSWEPTTRIANGLE_H
#define MDYNSWEPTTRIANGLE_H

#include <maya/MVector.h>

#include <cmath>

// One triangle of swept geometry, a value copied out of the data. vertex(k, t) and normal(t) blend
// linearly between the triangle at the previous step (t = 0) and at the current step (t = 1), in world
// space; t outside 0..1 extrapolates. normal(t) is the unit normal by the right-hand rule over the
// corners 0, 1, 2, or (0, 0, 0) for a degenerate triangle. uvPoint(k) is (u, v, 0) of corner k: the
// surface parameters for a NURBS surface, the corner's UV for a mesh. A corner index outside 0..2 reads
// corner 0. A default-constructed triangle has all corners at the origin.
class MDynSweptTriangle {
public:
    MDynSweptTriangle() = default;
    // The host makes triangles from its swept data: previous and current corners, u and v per corner.
    MDynSweptTriangle(const MVector previous[3], const MVector current[3], const double u[3], const double v[3]) {
        for (int k = 0; k < 3; ++k) {
            previous_[k] = previous[k];
            current_[k] = current[k];
            u_[k] = u[k];
            v_[k] = v[k];
        }
    }

    MVector vertex(int k, double t = 1.0) const {
        k = corner(k);
        return previous_[k] + (current_[k] - previous_[k]) * t;
    }

    MVector normal(double t = 1.0) const {
        const MVector a = vertex(0, t);
        const MVector b = vertex(1, t) - a;
        const MVector c = vertex(2, t) - a;
        MVector n(b.y * c.z - b.z * c.y, b.z * c.x - b.x * c.z, b.x * c.y - b.y * c.x);
        const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        return length > 0.0 ? MVector(n.x / length, n.y / length, n.z / length) : MVector(0.0, 0.0, 0.0);
    }

    MVector uvPoint(int k) const {
        k = corner(k);
        return MVector(u_[k], v_[k], 0.0);
    }

    double area(double t = 1.0) const {
        const MVector a = vertex(0, t);
        const MVector b = vertex(1, t) - a;
        const MVector c = vertex(2, t) - a;
        const MVector n(b.y * c.z - b.z * c.y, b.z * c.x - b.x * c.z, b.x * c.y - b.y * c.x);
        return 0.5 * std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    }

private:
    static int corner(int k) { return k >= 0 && k < 3 ? k : 0; }

    MVector previous_[3];
    MVector current_[3];
    double u_[3] = {0.0, 0.0, 0.0};
    double v_[3] = {0.0, 0.0, 0.0};
};

#endif
