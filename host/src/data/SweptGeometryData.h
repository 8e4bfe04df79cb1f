#ifndef HOST_SWEPTGEOMETRYDATA_H
#define HOST_SWEPTGEOMETRYDATA_H

#include "data/Data.h"
#include "geometry/PolyMesh.h"
#include "geometry/SweptTriangle.h"

#include <memory>
#include <vector>

namespace host {

// Swept geometry (an emitter's "sweptGeometry"): world-space triangles at the previous and the current
// step, with surface coordinates per corner. Empty data has no triangles.
//
// The triangles are held in one of two compact forms, both immutable and shared (copies of the data
// and of the connector's output refer to the same storage):
// - a mesh: the fan triangles (0, k + 1, k + 2) of each polygon of `current`, polygons in order, with
//   the corners' UVs ((0, 0) for a corner without one). Their previous corners are the fan triangles of
//   `previous`, a mesh with the same triangle count (the mesh of the step before, or `current` itself).
//   The points stay in the meshes; the data adds a table of 36 bytes per triangle (the corners'
//   vertex ids and UVs, so that a random triangle is read with one lookup and its three points), which
//   data over a mesh of the same topology can share.
// - a list of triangles (a tessellated NURBS surface, or triangles made by hand).
class SweptGeometryData : public Data {
public:
    // The fan triangles of a mesh: the vertex ids of their corners, and apart from them (so that the
    // ids of a large mesh stay in as little memory as can be) the corners' UVs.
    struct MeshFans {
        struct Vertices {
            int id[3];
        };
        struct Coordinates {
            float u[3];
            float v[3];
        };
        std::vector<Vertices> vertices;
        std::vector<Coordinates> coordinates;
        size_t size() const { return vertices.size(); }
    };
    // The fan table of a mesh.
    static std::shared_ptr<const MeshFans> fansOf(const geom::PolyMesh& mesh);

    SweptGeometryData() = default;
    explicit SweptGeometryData(std::vector<geom::SweptTriangle> triangles);
    // previous must have current's triangle count; a null previous (or one that differs) means current.
    // fans, when given, must be the fan table of current's topology (else it is built).
    SweptGeometryData(std::shared_ptr<const geom::PolyMesh> previous, std::shared_ptr<const geom::PolyMesh> current,
                      std::shared_ptr<const MeshFans> fans = nullptr);

    MFn::Type apiType() const override { return MFn::kDynSweptGeometryData; }
    MFnData::Type dataType() const override { return MFnData::kDynSweptGeometry; }
    std::shared_ptr<Data> clone() const override { return std::make_shared<SweptGeometryData>(*this); }

    int triangleCount() const { return count_; }

    // Triangle t (0 <= t < triangleCount()): its corners at the previous and the current step and the
    // surface coordinates of its corners.
    void triangle(int t, geom::Vec3 previous[3], geom::Vec3 current[3], double u[3], double v[3]) const {
        if (current_) {
            meshTriangle(t, previous, current, u, v);
            return;
        }
        const geom::SweptTriangle& s = (*triangles_)[static_cast<size_t>(t)];
        for (int k = 0; k < 3; ++k) {
            previous[k] = s.previous[k];
            current[k] = s.current[k];
            u[k] = s.u[k];
            v[k] = s.v[k];
        }
    }

    // The meshes of the mesh form (null for the list form).
    const std::shared_ptr<const geom::PolyMesh>& previousMesh() const { return previous_; }
    const std::shared_ptr<const geom::PolyMesh>& currentMesh() const { return current_; }
    const std::shared_ptr<const MeshFans>& meshFans() const { return fans_; }
    // The triangles of the list form (null for the mesh form).
    const std::shared_ptr<const std::vector<geom::SweptTriangle>>& triangles() const { return triangles_; }

private:
    void meshTriangle(int t, geom::Vec3 previous[3], geom::Vec3 current[3], double u[3], double v[3]) const {
        const MeshFans::Vertices& fan = fans_->vertices[static_cast<size_t>(t)];
        const MeshFans::Coordinates& uv = fans_->coordinates[static_cast<size_t>(t)];
        const geom::Vec3* points = current_->points().data();
        for (int k = 0; k < 3; ++k) {
            current[k] = points[fan.id[k]];
            u[k] = uv.u[k];
            v[k] = uv.v[k];
        }
        if (previous_.get() == current_.get()) {
            for (int k = 0; k < 3; ++k) previous[k] = current[k];
        } else if (previousSharesFans_) {
            const geom::Vec3* before = previous_->points().data();
            for (int k = 0; k < 3; ++k) previous[k] = before[fan.id[k]];
        } else {
            const geom::PolyMesh& before = *previous_;
            int fv[3];
            before.triangleFaceVertices(t, fv);
            for (int k = 0; k < 3; ++k) previous[k] = before.point(before.faceVertices()[static_cast<size_t>(fv[k])]);
        }
    }

    std::shared_ptr<const geom::PolyMesh> previous_;
    std::shared_ptr<const geom::PolyMesh> current_;
    std::shared_ptr<const MeshFans> fans_;
    bool previousSharesFans_ = false;  // previous_ has current_'s polygons: the fans' vertex ids fit it
    std::shared_ptr<const std::vector<geom::SweptTriangle>> triangles_;
    int count_ = 0;
};

// New swept data holding these triangles, for the host's nodes and tests.
MObject makeSweptGeometryData(std::vector<geom::SweptTriangle> triangles);
// New swept data over the fan triangles of a mesh (see SweptGeometryData).
MObject makeSweptGeometryData(std::shared_ptr<const geom::PolyMesh> previous,
                              std::shared_ptr<const geom::PolyMesh> current);

}  // namespace host

#endif
