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

    bool isDone(MStatus* status = nullptr);
    MStatus next();
    MStatus reset();
    int index(MStatus* status = nullptr);
    int count(MStatus* status = nullptr);
    MStatus setIndex(int index, int& prevIndex);

    MPoint position(MSpace::Space space = MSpace::kObject, MStatus* status = nullptr);
    MStatus getNormal(MVector& normal, MSpace::Space space = MSpace::kObject);
    MStatus getConnectedFaces(MIntArray& faceList);
    MStatus numConnectedFaces(int& faceCount);
    MStatus getUV(int faceId, float2& uvPoint, const MString* uvSet = nullptr);
    MStatus getUVs(MFloatArray& uArray, MFloatArray& vArray, MIntArray& faceIds, const MString* uvSet = nullptr);

private:
    void attach(std::shared_ptr<const host::MeshData> data, MStatus result, MStatus* status);
    bool current() const { return index_ < count_; }

    std::shared_ptr<const host::MeshData> data_;
    std::shared_ptr<const host::geom::PolyMesh> mesh_;
    int count_ = 0;
    int index_ = 0;
};

#endif
