#ifndef MITMESHVERTEX_H
#define MITMESHVERTEX_H

#include <maya/MDagPath.h>
#include <maya/MFloatArray.h>
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

// Iterator over the vertices of a mesh (mesh data, a "mesh" shape, or a DAG path to one), ids ascending.
// A view on the shared mesh, like MItMeshPolygon, whose host choices (spaces, the "map1" UV set,
// construction failures, setIndex) it shares.
//
// Host choices of its own:
// - getNormal is the vertex normal: the normalised mean of the unit normals of the faces around the
//   vertex (zero for a vertex on no face), mapped to world space through the inverse transpose.
// - getConnectedFaces lists the faces around the vertex in ascending order, each once.
// - getUV(faceId) is the UV of the vertex's corner in that face; kFailure (uv untouched) when the vertex
//   is not a corner of the face, the face id is out of range, or the corner has no UV.
// - getUVs lists, per connected face in ascending order, the vertex's UV there (faces whose corner has
//   no UV are left out).
class MItMeshVertex {
public:
    explicit MItMeshVertex(const MObject& polyObject, MStatus* status = nullptr);
    explicit MItMeshVertex(const MDagPath& polyObject, MObject& component = MObject::kNullObj,
                           MStatus* status = nullptr);
    ~MItMeshVertex();

    // The walk and object-space positions are inline: deformers make these calls for every vertex.
    bool isDone(MStatus* status = nullptr) {
        if (status) *status = MStatus::kSuccess;
        return !current();
    }
    MStatus next() {
        if (!current()) return MStatus::kFailure;
        ++index_;
        return MStatus::kSuccess;
    }
    MStatus reset();
    int index(MStatus* status = nullptr);
    int count(MStatus* status = nullptr);
    MStatus setIndex(int index, int& prevIndex);

    MPoint position(MSpace::Space space = MSpace::kObject, MStatus* status = nullptr) {
        if (space == MSpace::kWorld || !current()) return otherPosition(space, status);
        if (status) *status = MStatus::kSuccess;
        const double* p = points_ + 3 * static_cast<size_t>(index_);
        __builtin_prefetch(p + 3 * kAhead);
        return MPoint(p[0], p[1], p[2]);
    }
    MStatus getNormal(MVector& normal, MSpace::Space space = MSpace::kObject) {
        if (!current()) return MStatus::kFailure;
        if (!normals_ || (space == MSpace::kWorld && worldNormals_)) return otherNormal(normal, space);
        const double* n = normals_ + 3 * static_cast<size_t>(index_);
        __builtin_prefetch(n + 3 * kAhead);
        normal = MVector(n[0], n[1], n[2]);
        return MStatus::kSuccess;
    }
    MStatus getConnectedFaces(MIntArray& faceList) {
        if (!current()) return MStatus::kFailure;
        // Element by element: a vertex has a handful of faces, too few for a block copy to pay.
        const int first = vertexFaceOffsets_[index_], last = vertexFaceOffsets_[index_ + 1];
        std::vector<int>& faces = faceList.hostVector();
        faces.resize(static_cast<size_t>(last - first));
        for (int k = first; k < last; ++k) faces[static_cast<size_t>(k - first)] = vertexFaces_[k];
        uvVertex_ = index_;  // getUV is usually asked next, for these faces in this order
        uvHint_ = first;
        uvEnd_ = last;
        return MStatus::kSuccess;
    }
    MStatus numConnectedFaces(int& faceCount);
    // The UV of the vertex's corner in the face, from the mesh's table of the vertex's faces. The faces
    // are usually asked in the order getConnectedFaces lists them, so the entry after the last one found
    // is tried first.
    MStatus getUV(int faceId, float2& uvPoint, const MString* uvSet = nullptr) {
        if (uvSet && !isDefaultUVSet(uvSet)) return MStatus::kInvalidParameter;
        int k = uvHint_;
        if (uvVertex_ != index_ || k >= uvEnd_ || vertexFaces_[k] != faceId) {
            if (!current()) return MStatus::kFailure;
            const int first = vertexFaceOffsets_[index_];
            uvVertex_ = index_;
            uvEnd_ = vertexFaceOffsets_[index_ + 1];
            k = uvHint_ = first;
            while (k < uvEnd_ && vertexFaces_[k] != faceId) ++k;
            if (k == uvEnd_) return MStatus::kFailure;
        }
        uvHint_ = k + 1;
        const int id = vertexFaceUVIds_[k];
        if (id < 0) return MStatus::kFailure;
        uvPoint[0] = uvs_[2 * id];
        uvPoint[1] = uvs_[2 * id + 1];
        return MStatus::kSuccess;
    }
    MStatus getUVs(MFloatArray& uArray, MFloatArray& vArray, MIntArray& faceIds, const MString* uvSet = nullptr);

private:
    void attach(std::shared_ptr<const host::MeshData> data, MStatus result, MStatus* status);
    bool current() const { return index_ < count_; }
    // Vertices are usually visited in id order: positions and normals this many vertices on are fetched
    // ahead, since a large mesh streams from memory faster than the processor finds it alone.
    static constexpr int kAhead = 32;
    MPoint otherPosition(MSpace::Space space, MStatus* status);
    MStatus otherNormal(MVector& normal, MSpace::Space space);
    static bool isDefaultUVSet(const MString* uvSet);

    std::shared_ptr<const host::MeshData> data_;
    std::shared_ptr<const host::geom::PolyMesh> mesh_;
    // The mesh's tables, kept alive by mesh_.
    const double* points_ = nullptr;   // x, y, z of each vertex, object space
    const double* normals_ = nullptr;  // vertex normals, object space, once a normal was asked for
    bool worldNormals_ = false;        // world space differs from object space
    const float* uvs_ = nullptr;       // u, v of each UV
    const int* vertexFaceOffsets_ = nullptr;
    const int* vertexFaces_ = nullptr;
    const int* vertexFaceUVIds_ = nullptr;  // UV id of the vertex's corner in each of its faces, -1 none
    int uvVertex_ = -1;                     // the vertex uvHint_ and uvEnd_ belong to
    int uvHint_ = 0;                        // entry of vertexFaces_ that getUV tries first
    int uvEnd_ = 0;                         // end of uvVertex_'s entries
    int count_ = 0;
    int index_ = 0;
};

#endif
