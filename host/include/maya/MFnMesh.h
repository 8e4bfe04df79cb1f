#ifndef MFNMESH_H
#define MFNMESH_H

#include <maya/MDagPath.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFnBase.h>
#include <maya/MIntArray.h>
#include <maya/MPoint.h>
#include <maya/MPointArray.h>
#include <maya/MSpace.h>
#include <maya/MString.h>
#include <maya/MVector.h>

#include <memory>

namespace host {
class MeshData;
}

// Function set on a polygon mesh: mesh data, a "mesh" shape node, or a DAG path that ends at a mesh
// shape (or at a transform whose shape is a mesh). It is a view: attaching copies nothing, whatever the
// size of the mesh.
//
// Host choices:
// - Spaces: kWorld applies the data's world matrix (identity for plain data), on a shape the matrix
//   its "worldMesh"[0] output carries, on a path the path's inclusive matrix; any other space is the
//   mesh's own. A shape is read when the set is attached; attach again to see later changes.
// - There is one UV set, the default, named "map1"; a uvSet argument naming another set fails
//   (kInvalidParameter).
// - getClosestPointAndNormal returns the unit face normal of the polygon it lands on (mapped to world
//   space through the inverse transpose of the matrix). Among equally near points, the one on the lowest
//   fan triangle wins. On a mesh without polygons or a non-finite query it fails (kFailure), leaves the
//   point and normal untouched and sets the polygon id to -1.
// - create() with a null parentOrOwner makes new mesh data (no DAG nodes); with mesh data as the owner
//   that data receives the mesh and is returned; any other owner is refused. Invalid input (a polygon of
//   fewer than three corners, a vertex id out of range, counts that do not add up) is refused with
//   kInvalidParameter and a null object, leaving the set as it was. UVs given to create() are the
//   mesh's UV list; assignUVs() then gives each corner its UV id (uvCounts per polygon: 0 for a polygon
//   without UVs, else its corner count).
class MFnMesh : public MFnBase {
public:
    MFnMesh();
    explicit MFnMesh(const MObject& object, MStatus* status = nullptr);
    explicit MFnMesh(const MDagPath& path, MStatus* status = nullptr);
    ~MFnMesh() override;

    MFn::Type type() const override { return MFn::kMesh; }
    // Refuses (kInvalidParameter, attached to nothing) anything that is not mesh data or a mesh shape.
    MStatus setObject(const MObject& object);
    MStatus setObject(const MDagPath& path);

    MObject create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                   const MIntArray& polygonCounts, const MIntArray& polygonConnects,
                   MObject& parentOrOwner = MObject::kNullObj, MStatus* status = nullptr);
    MObject create(int numVertices, int numPolygons, const MFloatPointArray& vertexArray,
                   const MIntArray& polygonCounts, const MIntArray& polygonConnects, const MFloatArray& uArray,
                   const MFloatArray& vArray, MObject& parentOrOwner = MObject::kNullObj, MStatus* status = nullptr);
    MStatus assignUVs(const MIntArray& uvCounts, const MIntArray& uvIds, const MString* uvSet = nullptr);

    int numVertices(MStatus* status = nullptr) const;
    int numPolygons(MStatus* status = nullptr) const;
    int numFaceVertices(MStatus* status = nullptr) const;
    int numUVs(MStatus* status = nullptr) const;
    MStatus getPoints(MPointArray& points, MSpace::Space space = MSpace::kObject) const;
    MStatus getPoint(int vertexId, MPoint& point, MSpace::Space space = MSpace::kObject) const;
    MStatus getPolygonVertices(int polygonId, MIntArray& vertexList) const;
    int polygonVertexCount(int polygonId, MStatus* status = nullptr) const;
    MStatus getPolygonNormal(int polygonId, MVector& normal, MSpace::Space space = MSpace::kObject) const;
    MStatus getUVs(MFloatArray& uArray, MFloatArray& vArray, const MString* uvSet = nullptr) const;
    MStatus getPolygonUV(int polygonId, int vertexIndex, float& u, float& v, const MString* uvSet = nullptr) const;
    MStatus getPolygonUVid(int polygonId, int vertexIndex, int& uvId, const MString* uvSet = nullptr) const;

    MStatus getClosestPointAndNormal(const MPoint& toThisPoint, MPoint& theClosestPoint, MVector& theNormal,
                                     MSpace::Space space = MSpace::kObject, int* closestPolygon = nullptr) const;
    MStatus getClosestPoint(const MPoint& toThisPoint, MPoint& theClosestPoint, MSpace::Space space = MSpace::kObject,
                            int* closestPolygon = nullptr) const;

private:
    MObject createMesh(const MFloatPointArray& vertexArray, const MIntArray& polygonCounts,
                       const MIntArray& polygonConnects, const MFloatArray* uArray, const MFloatArray* vArray,
                       MObject& parentOrOwner, MStatus* status);

    std::shared_ptr<const host::MeshData> data_;  // what the queries read; null when attached to nothing
};

#endif
