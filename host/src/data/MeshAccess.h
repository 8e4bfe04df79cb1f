#ifndef HOST_MESHACCESS_H
#define HOST_MESHACCESS_H

#include "data/MeshData.h"

#include <maya/MDagPath.h>
#include <maya/MPoint.h>
#include <maya/MString.h>
#include <maya/MVector.h>

#include <memory>

// What the mesh function sets and iterators share: finding the mesh behind an object or a path, and
// moving values between the API's types and the geometry's.
namespace host {

// Mesh data itself, or a "mesh" shape's worldMesh[0] output pulled now (empty mesh data when it has
// none). Null with kInvalidParameter for anything else.
std::shared_ptr<const MeshData> meshDataOf(const MObject& object, MStatus& status);
// A path ending at a "mesh" shape, or at a transform whose only shape is one: the shape's mesh with the
// path's inclusive matrix. Null with kInvalidParameter for other paths and invalid ones.
std::shared_ptr<const MeshData> meshDataOf(const MDagPath& path, MStatus& status);

// Writes code into the optional status of a call.
inline void setStatus(MStatus* status, MStatus code) {
    if (status)
        *status = code;
}

// The only UV set is the default one: a null or empty name, or "map1".
bool isDefaultUVSet(const MString* uvSet);

inline geom::Vec3 toVec3(const MPoint& p) {
    if (p.w == 1.0 || p.w == 0.0)
        return {p.x, p.y, p.z};
    return {p.x / p.w, p.y / p.w, p.z / p.w};
}
inline MPoint toPoint(const geom::Vec3& v) { return MPoint(v.x, v.y, v.z); }
inline MVector toVector(const geom::Vec3& v) { return MVector(v.x, v.y, v.z); }

}  // namespace host

#endif
