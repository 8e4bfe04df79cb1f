#ifndef MITGEOMETRY_H
#define MITGEOMETRY_H

#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MSpace.h>
#include <maya/MStatus.h>

#include <memory>
#include <vector>

class MDataHandle;

namespace host {
class GeometryPoints;
struct GeometryIteratorAccess;
}  // namespace host

// Iterates the points of a geometry: mesh vertices, NURBS curve CVs, NURBS surface CVs or lattice points.
//
// Order and indices: points go by ascending index(). index() is the vertex id or CV index for meshes and
// curves, i * numCVsInV + j for surface CV (i, j), and s + S * (t + T * u) for lattice point (s, t, u) of
// an S x T x U lattice. The last degree CVs of a periodic curve, and the last degree rows of a surface
// periodic in a direction, repeat the first ones and are not visited: they follow them when the points
// are written.
//
// component() is a new one-element component of the current point: single-indexed (apiType 680) for
// meshes and curves, double-indexed (681) as (i, j) for surfaces, triple-indexed (682) as (s, t, u) for
// lattices. At the end, or on an iterator over nothing, it is the null object and the status kFailure.
//
// Built on a data handle the iterator is read-only by default: setPosition then fails (kFailure). A
// writable iterator on a handle changes the handle's data object itself when it is destroyed. Data that
// is not mesh, curve, surface or lattice data (subdivision surfaces, no data) gives an iterator over
// nothing and the status kInvalidParameter. Positions are object space whatever the space asked.
// setPosition refuses non-finite coordinates (kInvalidParameter) so that the geometry stays valid.
//
// The deformer base builds the iterator it hands to deform over the member points of one geometry.
class MItGeometry {
public:
    MItGeometry(MDataHandle& data, bool readOnly = true, MStatus* status = nullptr);
    MItGeometry(const MItGeometry&) = delete;
    MItGeometry& operator=(const MItGeometry&) = delete;
    ~MItGeometry();

    bool isDone(MStatus* status = nullptr);
    MStatus next();
    MStatus reset();
    int index(MStatus* status = nullptr);
    int count(MStatus* status = nullptr);
    int exactCount(MStatus* status = nullptr);
    MObject component(MStatus* status = nullptr);
    MPoint position(MSpace::Space space = MSpace::kObject, MStatus* status = nullptr);
    MStatus setPosition(const MPoint& point, MSpace::Space space = MSpace::kObject);

private:
    friend struct host::GeometryIteratorAccess;
    MItGeometry(std::unique_ptr<host::GeometryPoints> points, std::vector<int> members, bool readOnly);
    int pointAt(size_t k) const;

    std::unique_ptr<host::GeometryPoints> points_;
    std::vector<int> members_;  // empty: all of points_->members()
    bool useOwnMembers_ = false;
    bool readOnly_ = true;
    bool changed_ = false;
    size_t cursor_ = 0;
    MObject component_;  // reused while nobody else holds it
};

#endif
