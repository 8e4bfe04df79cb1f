#ifndef MDYNSWEPTTRIANGLE_H
#define MDYNSWEPTTRIANGLE_H

#include <maya/MVector.h>

#include <cmath>

namespace host {
class SweptGeometryData;
}

// One triangle of swept geometry. vertex(k, t) and normal(t) blend linearly between the triangle at the
// previous step (t = 0) and at the current step (t = 1), in world space; t outside 0..1 extrapolates.
// normal(t) is the unit normal by the right-hand rule over the corners 0, 1, 2, or (0, 0, 0) for a
// degenerate triangle. uvPoint(k) is (u, v, 0) of corner k: the surface parameters for a NURBS surface,
// the corner's UV for a mesh. A corner index outside 0..2 reads corner 0. A default-constructed triangle
// has all corners at the origin.
//
// A triangle read from swept data is a view on that data: taking one reads none of its corners, which
// are read when asked for. It stays valid while the data lives (held by an MObject or a function set).
class MDynSweptTriangle {
public:
    MDynSweptTriangle() = default;

    MVector vertex(int k, double t = 1.0) const {
        k = corner(k);
        const double* p = previousPoints_ + 3 * previousIds_[k];
        const double* c = currentPoints_ + 3 * currentIds_[k];
        const MVector before(p[0], p[1], p[2]);
        return before + (MVector(c[0], c[1], c[2]) - before) * t;
    }

    MVector normal(double t = 1.0) const {
        const MVector a = vertex(0, t);
        const MVector b = vertex(1, t) - a;
        const MVector c = vertex(2, t) - a;
        MVector n(b.y * c.z - b.z * c.y, b.z * c.x - b.x * c.z, b.x * c.y - b.y * c.x);
        const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        return length > 0.0 ? MVector(n.x / length, n.y / length, n.z / length) : MVector(0.0, 0.0, 0.0);
    }

    MVector uvPoint(int k) const;

    double area(double t = 1.0) const {
        const MVector a = vertex(0, t);
        const MVector b = vertex(1, t) - a;
        const MVector c = vertex(2, t) - a;
        const MVector n(b.y * c.z - b.z * c.y, b.z * c.x - b.x * c.z, b.x * c.y - b.y * c.x);
        return 0.5 * std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    }

private:
    friend class MFnDynSweptGeometryData;
    static int corner(int k) { return k >= 0 && k < 3 ? k : 0; }
    static constexpr double origin[3] = {0.0, 0.0, 0.0};
    static constexpr int atOrigin[3] = {0, 0, 0};

    // Corner k at the previous step is the point at previousPoints_ + 3 x previousIds_[k] (x, y and z),
    // at the current step likewise; both in the swept data.
    const double* previousPoints_ = origin;
    const double* currentPoints_ = origin;
    const int* previousIds_ = atOrigin;
    const int* currentIds_ = atOrigin;
    // The data and the triangle's index there, for the corner coordinates; null for the default triangle.
    const host::SweptGeometryData* data_ = nullptr;
    int index_ = 0;
};

#endif
