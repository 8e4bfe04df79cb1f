#ifndef MITGEOMETRY_H
#define MITGEOMETRY_H

#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MSpace.h>
#include <maya/MStatus.h>

#include <cmath>

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
// It is held by value in the MObject (see there), so taking it for every point costs no allocation.
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

    // The per-point calls are inline: a deformer makes several of them for every point.
    bool isDone(MStatus* status = nullptr) {
        if (status) *status = MStatus::kSuccess;
        return cursor_ >= size_;
    }
    MStatus next() {
        if (cursor_ >= size_) return MStatus::kFailure;
        ++cursor_;
        return MStatus::kSuccess;
    }
    MStatus reset() {
        cursor_ = 0;
        return MStatus::kSuccess;
    }
    int index(MStatus* status = nullptr) {
        const bool valid = cursor_ < size_;
        if (status) *status = valid ? MStatus::kSuccess : MStatus::kFailure;
        return valid ? pointAt(cursor_) : -1;
    }
    int count(MStatus* status = nullptr) {
        if (status) *status = MStatus::kSuccess;
        return static_cast<int>(size_);
    }
    int exactCount(MStatus* status = nullptr) { return count(status); }
    // A one-element component held by value (see MObject): no allocation for any point.
    MObject component(MStatus* status = nullptr) {
        if (cursor_ >= size_) {
            if (status) *status = MStatus::kFailure;
            return MObject();
        }
        if (status) *status = MStatus::kSuccess;
        const int k = pointAt(cursor_);
        host::PointComponent c;
        c.type = componentType_;
        if (componentType_ == MFn::kSingleIndexedComponent) {
            c.index[0] = k;
        } else if (componentType_ == MFn::kDoubleIndexedComponent) {
            c.index[0] = k / dims_[1];
            c.index[1] = k % dims_[1];
        } else {
            c.index[0] = k % dims_[0];
            c.index[1] = (k / dims_[0]) % dims_[1];
            c.index[2] = k / (dims_[0] * dims_[1]);
        }
        return MObject(c);
    }
    MPoint position(MSpace::Space = MSpace::kObject, MStatus* status = nullptr) {
        if (cursor_ >= size_) {
            if (status) *status = MStatus::kFailure;
            return MPoint();
        }
        if (status) *status = MStatus::kSuccess;
        const size_t i = static_cast<size_t>(pointAt(cursor_));
        const double* c = (i < copied_ ? coords_ : source_) + 3 * i;
        __builtin_prefetch(c + kAhead);
        return MPoint(c[0], c[1], c[2]);
    }
    MStatus setPosition(const MPoint& point, MSpace::Space = MSpace::kObject) {
        if (cursor_ >= size_ || readOnly_) return MStatus::kFailure;
        if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z))
            return MStatus::kInvalidParameter;
        const size_t i = static_cast<size_t>(pointAt(cursor_));
        if (i >= copied_) copyPast(i);
        __builtin_prefetch(source_ + 3 * (i + kCopyAhead) + kAhead);  // what the next copies read
        double* c = coords_ + 3 * i;
        c[0] = point.x;
        c[1] = point.y;
        c[2] = point.z;
        changed_ = true;
        return MStatus::kSuccess;
    }

private:
    friend struct host::GeometryIteratorAccess;
    // Over the listed linear point indices (ascending), or over every member point when all is true.
    MItGeometry(std::unique_ptr<host::GeometryPoints> points, std::vector<int> members, bool all, bool readOnly);
    void visit(bool all);
    // Copies the points up to and a little past point i, to be written.
    void copyPast(size_t i);
    int pointAt(size_t k) const { return list_ ? list_[k] : static_cast<int>(k); }
    // Points are read and written in index order: the coordinates this many doubles on are fetched
    // ahead, since large geometry streams from memory faster than the processor finds it alone.
    static constexpr int kAhead = 3 * 32;
    // Points copied at a time ahead of the one written: a few kilobytes, still in cache when written.
    static constexpr size_t kCopyAhead = 256;

    std::unique_ptr<host::GeometryPoints> points_;
    std::vector<int> members_;   // the listed points, when not all members are visited
    const int* list_ = nullptr;  // linear index of each visited point; null: point k is the k-th visited
    size_t size_ = 0;            // number of visited points
    // x, y, z of each point by linear index: points before copied_ in the copy that is written, the others
    // in the geometry's own points (see host::GeometryPoints).
    double* coords_ = nullptr;
    const double* source_ = nullptr;
    size_t copied_ = 0;
    bool readOnly_ = true;
    bool changed_ = false;
    size_t cursor_ = 0;
    MFn::Type componentType_ = MFn::kSingleIndexedComponent;
    int dims_[2] = {1, 1};  // surfaces: CVs in u and v; lattices: s and t divisions
};

#endif
