#ifndef HOST_MESHDATA_H
#define HOST_MESHDATA_H

#include "data/Data.h"
#include "geometry/PolyMesh.h"

#include <maya/MMatrix.h>

#include <memory>
#include <mutex>

namespace host {

// Data holding one polygon mesh (object space) and a world matrix, identity by default, so world-space
// queries on plain data equal object-space ones.
//
// The mesh is immutable and shared: copies of the data, the mesh shape's outputs and every function set
// or iterator on them refer to one PolyMesh (and so to one closest-point tree). World-space closest
// points reuse the object mesh's tree when the matrix is a similarity (rotation, uniform scale,
// translation, mirroring): the query is mapped into object space and the answer back. Any other matrix
// (shear, non-uniform scale) is answered on the mesh with its points mapped to world space, built on the
// first such query and kept with the data.
class MeshData : public Data {
public:
    MeshData();  // an empty mesh
    explicit MeshData(std::shared_ptr<const geom::PolyMesh> mesh, const MMatrix& world = MMatrix::identity);
    explicit MeshData(geom::PolyMesh mesh, const MMatrix& world = MMatrix::identity);

    MFn::Type apiType() const override { return MFn::kMeshData; }
    MFnData::Type dataType() const override { return MFnData::kMesh; }
    bool hasFn(MFn::Type type) const override { return type == MFn::kMesh || Data::hasFn(type); }
    std::shared_ptr<Data> clone() const override { return std::make_shared<MeshData>(mesh_, matrix_); }

    const geom::PolyMesh& mesh() const { return *mesh_; }
    const std::shared_ptr<const geom::PolyMesh>& sharedMesh() const { return mesh_; }
    const MMatrix& worldMatrix() const { return matrix_; }
    bool hasWorldMatrix() const { return !identity_; }
    const geom::AffineMap& worldMap() const { return map_; }

    // Replaces the mesh (the matrix stays). Views built before keep the mesh they had.
    void setMesh(std::shared_ptr<const geom::PolyMesh> mesh);

    // Closest point in world space (object space when the matrix is the identity); the polygon and
    // weights refer to the mesh, the point is in world space.
    geom::MeshClosestPoint closestPointWorld(const geom::Vec3& q) const;
    // The mesh with its points in world space (the object mesh itself for the identity).
    std::shared_ptr<const geom::PolyMesh> worldMesh() const;

private:
    std::shared_ptr<const geom::PolyMesh> mesh_;
    MMatrix matrix_;
    geom::AffineMap map_;
    bool identity_ = true;
    bool similarity_ = true;
    geom::AffineMap inverse_;  // world to object, for a similarity
    mutable std::mutex worldMutex_;
    mutable std::shared_ptr<const geom::PolyMesh> world_;
};

// New mesh data, for the host's nodes, commands and tests.
MObject makeMeshData(geom::PolyMesh mesh, const MMatrix& world = MMatrix::identity);

}  // namespace host

#endif
