#ifndef MITMESHPOLYGON_H
#define MITMESHPOLYGON_H

#include <maya/MDagPath.h>
#include <maya/MIntArray.h>
#include <maya/MObject.h>
#include <maya/MPoint.h>
#include <maya/MSpace.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypes.h>
#include <maya/MVector.h>

#include <memory>

namespace host {
class MeshData;
namespace geom {
class PolyMesh;
}
}  // namespace host

// Iterator over the polygons of a mesh (mesh data, a "mesh" shape, or a DAG path to one), in id order.
// It is a view on the shared mesh: building one copies nothing, and no per-polygon query allocates
// (getVertices reuses the array's storage). The calls of a walk over every polygon (isDone, next,
// getArea in object space, getVertices, polygonVertexCount, getUVIndex, getUV) are inline reads of the
// mesh's tables.
//
// Host choices:
// - Construction on anything else fails with kInvalidParameter; the iterator is then done, with count 0.
//   A non-null component is refused the same way (only whole meshes are iterated).
// - Spaces as in MFnMesh: kWorld through the data's matrix or the path's inclusive matrix, any other
//   space object space. Normals are unit face normals (Newell), mapped to world space through the
//   inverse transpose; areas are fan-triangle sums; center() is the mean of the corners.
// - setIndex fails (kFailure) for an index out of range, which includes every index of a mesh without
//   polygons; prevIndex always receives the index held before the call, and the iterator does not move
//   on failure. Queries while isDone() fail with kFailure.
// - One UV set, "map1"; any other uvSet name fails with kInvalidParameter. getUVIndex and getUV fail
//   (kFailure, outputs untouched) on a corner without a UV or a corner index out of range.
// - getPointAtUV: kFailure exactly when the uv lies outside the polygon's UV region (beyond `tolerance`,
//   a UV-space distance); kInvalidParameter when a corner of the polygon has no UV. The point is written
//   only on success.
// - getUVAtPoint: the UV at the point of the polygon nearest the given point; kInvalidParameter (uv
//   untouched) when a corner has no UV or the point is not finite.
class MItMeshPolygon {
public:
    explicit MItMeshPolygon(const MObject& polyObject, MStatus* status = nullptr);
    explicit MItMeshPolygon(const MDagPath& polyObject, MObject& component = MObject::kNullObj,
                            MStatus* status = nullptr);
    ~MItMeshPolygon();

    bool isDone(MStatus* status = nullptr) {
        if (status)
            *status = MStatus::kSuccess;
        return !current();
    }
    MStatus next() {
        if (!current())
            return MStatus::kFailure;
        ++index_;
        return MStatus::kSuccess;
    }
    MStatus reset();
    int index(MStatus* status = nullptr);
    int count(MStatus* status = nullptr);
    MStatus setIndex(int index, int& prevIndex);

    unsigned polygonVertexCount(MStatus* status = nullptr) {
        if (status)
            *status = current() ? MStatus::kSuccess : MStatus::kFailure;
        return current() ? static_cast<unsigned>(offsets_[index_ + 1] - offsets_[index_]) : 0u;
    }
    MStatus getVertices(MIntArray& vertices) {
        if (!current())
            return MStatus::kFailure;
        vertices.hostVector().assign(connects_ + offsets_[index_], connects_ + offsets_[index_ + 1]);
        return MStatus::kSuccess;
    }
    int vertexIndex(int index, MStatus* status = nullptr);
    MStatus getArea(double& area, MSpace::Space space = MSpace::kObject) {
        if (!current())
            return MStatus::kFailure;
        if (space == MSpace::kWorld)
            return worldArea(area);
        area = areas_[index_];
        return MStatus::kSuccess;
    }
    MStatus getNormal(MVector& normal, MSpace::Space space = MSpace::kObject);
    MPoint center(MSpace::Space space = MSpace::kObject, MStatus* status = nullptr);
    MPoint point(int index, MSpace::Space space = MSpace::kObject, MStatus* status = nullptr);

    bool hasUVs(MStatus* status = nullptr);
    MStatus getUVIndex(int vertex, int& index, const MString* uvSet = nullptr) {
        return cornerUV(vertex, uvSet, index);
    }
    MStatus getUVIndex(int vertex, int& index, float& u, float& v, const MString* uvSet = nullptr) {
        int id = -1;
        const MStatus status = cornerUV(vertex, uvSet, id);
        if (status != MStatus::kSuccess)
            return status;
        index = id;
        u = uvs_[2 * id];
        v = uvs_[2 * id + 1];
        return MStatus::kSuccess;
    }
    MStatus getUV(int vertex, float2& uv, const MString* uvSet = nullptr) {
        int id = -1;
        const MStatus status = cornerUV(vertex, uvSet, id);
        if (status != MStatus::kSuccess)
            return status;
        uv[0] = uvs_[2 * id];
        uv[1] = uvs_[2 * id + 1];
        return MStatus::kSuccess;
    }
    MStatus getPointAtUV(MPoint& point, float2& uvPoint, MSpace::Space space = MSpace::kObject,
                         const MString* uvSet = nullptr, double tolerance = 0.0);
    MStatus getUVAtPoint(MPoint& point, float2& uvPoint, MSpace::Space space = MSpace::kObject,
                         const MString* uvSet = nullptr);

private:
    void attach(std::shared_ptr<const host::MeshData> data, MStatus result, MStatus* status);
    bool current() const { return index_ < count_; }
    MStatus worldArea(double& area) const;
    static bool isDefaultUVSet(const MString* uvSet);
    MStatus cornerUV(int vertex, const MString* uvSet, int& uvId) const {
        if (uvSet && !isDefaultUVSet(uvSet))
            return MStatus::kInvalidParameter;
        if (!current() || vertex < 0 || vertex >= offsets_[index_ + 1] - offsets_[index_])
            return MStatus::kFailure;
        const int id = uvIds_[offsets_[index_] + vertex];
        if (id < 0)
            return MStatus::kFailure;
        uvId = id;
        return MStatus::kSuccess;
    }

    std::shared_ptr<const host::MeshData> data_;  // the mesh and its world matrix; null when attached to nothing
    std::shared_ptr<const host::geom::PolyMesh> mesh_;  // data_'s mesh when attached
    // The mesh's tables, read by the inline calls.
    const int* offsets_ = nullptr;   // face-vertex offset of each polygon, and the total
    const int* connects_ = nullptr;  // vertex id of each face-vertex
    const int* uvIds_ = nullptr;     // UV id of each face-vertex, -1 for none
    const float* uvs_ = nullptr;     // u and v of each UV
    const double* areas_ = nullptr;  // object-space area of each polygon
    int count_ = 0;
    int index_ = 0;
};

#endif
