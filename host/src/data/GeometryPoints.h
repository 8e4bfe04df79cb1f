#ifndef HOST_GEOMETRYPOINTS_H
#define HOST_GEOMETRYPOINTS_H

#include "geometry/Vec3.h"

#include <maya/MFn.h>
#include <maya/MObject.h>

#include <memory>
#include <vector>

namespace host {

// The points of a geometry data object as a deformer sees them: one linear point index per point, with
// the component indices behind it.
//   mesh     vertex id                        single index
//   curve    CV index                         single index
//   surface  CV (i, j) -> i * numCVsInV + j   double index (u, v)
//   lattice  point (s, t, u) -> s + S * (t + T * u)  triple index
// Points that repeat others (the last degree CVs of a periodic curve, the last degree rows of a surface
// periodic in that direction) are not members: they follow the point they repeat when the points are
// written back, so the geometry keeps its form.
//
// The points a writer changes are a copy, made in index order as far as it is needed: up to that point
// the copy is read, beyond it the geometry's own points. A mesh's points are not copied until written
// (a deformer that writes them in order copies each just before writing it, in one pass, and a reader
// copies nothing); the other geometries copy theirs up front.
class GeometryPoints {
public:
    virtual ~GeometryPoints() = default;

    MFn::Type componentType() const { return componentType_; }
    int count() const { return static_cast<int>(count_); }
    // True when every point is a member (no point repeats another).
    bool allMembers() const { return allMembers_; }
    // Linear indices of the points that are not repeats, ascending; empty when allMembers().
    const std::vector<int>& members() const { return members_; }
    bool isMember(int index) const;
    // Points along component index k (0 to 2): 1 for the indices a geometry does not have.
    int dimension(int k) const { return dims_[k]; }
    // Linear index of component indices; -1 when out of range.
    int indexOf(const int* indices) const;

    const geom::Vec3& point(int index) const {
        const size_t i = static_cast<size_t>(index);
        return i < points_.size() ? points_[i] : source_[i];
    }
    // Points 0 .. copied() - 1 are read from and written to the copy, the others read from the geometry.
    size_t copied() const { return points_.size(); }
    // Copies the points before `end` (at most count()) that are not copied yet.
    void copyTo(size_t end);
    // x, y and z of every point, point after point by linear index, valid as long as this object: the
    // copy (its first copied() points) and the geometry's own points.
    double* copyCoordinates() { return reinterpret_cast<double*>(points_.data()); }
    const double* sourceCoordinates() const { return reinterpret_cast<const double*>(source_); }
    // Writes the points back into the data object (repeats follow the points they repeat).
    void commit() {
        copyTo(count_);
        commitPoints();
    }

protected:
    // Copies every point up front (for the geometries other than meshes).
    void copyAll(const std::vector<geom::Vec3>& points);
    virtual void commitPoints() = 0;

    MFn::Type componentType_ = MFn::kSingleIndexedComponent;
    int dims_[3] = {0, 1, 1};
    const geom::Vec3* source_ = nullptr;  // the geometry's own points, kept alive by the subclass
    size_t count_ = 0;
    std::vector<geom::Vec3> points_;  // the copy, reserved for count_ points when first made
    std::vector<int> members_;
    bool allMembers_ = true;  // members_ is 0 .. count-1
};

// The points of mesh, NURBS curve, NURBS surface or lattice data; null for anything else (other data,
// an invalid curve or surface, a null object).
std::unique_ptr<GeometryPoints> geometryPoints(const MObject& data);

}  // namespace host

#endif
