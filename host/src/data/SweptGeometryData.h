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
//   data over a mesh of the same topology can share. When `previous` has other polygons, the data also
//   holds the vertex ids of its fan triangles.
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

    // Where the corners of a triangle are held: corner k at the previous step is
    // previousPoints[previousIds[k]], at the current step currentPoints[currentIds[k]]. All of it lies
    // in this data (or the meshes it holds) and stays valid while the data lives.
    struct Corners {
        const geom::Vec3* previousPoints;
        const geom::Vec3* currentPoints;
        const int* previousIds;
        const int* currentIds;
    };

    // Triangle t (0 <= t < triangleCount()). Reads nothing of the triangle itself, and asks the processor
    // to start loading its corner ids (or, in the list form, the triangle), so that a caller that takes
    // several triangles before reading them waits for the memory of all of them at once.
    Corners corners(int t) const {
        const size_t i = static_cast<size_t>(t);
        if (current_) {
            const int* ids = fans_->vertices[i].id;
            prefetch(ids);
            prefetch(ids + 2);
            const int* previousIds = previousFans_ ? (*previousFans_)[i].id : ids;
            return {previous_->points().data(), current_->points().data(), previousIds, ids};
        }
        const geom::SweptTriangle& s = (*triangles_)[i];
        prefetch(&s);
        prefetch(&s.current[0]);
        prefetch(&s.current[2].z);
        static constexpr int inOrder[3] = {0, 1, 2};
        return {s.previous, s.current, inOrder, inOrder};
    }

    // The surface coordinates of corner k (0 to 2) of triangle t.
    void cornerCoordinates(int t, int k, double& u, double& v) const {
        const size_t i = static_cast<size_t>(t);
        if (current_) {
            u = fans_->coordinates[i].u[k];
            v = fans_->coordinates[i].v[k];
            return;
        }
        u = (*triangles_)[i].u[k];
        v = (*triangles_)[i].v[k];
    }

    // The meshes of the mesh form (null for the list form).
    const std::shared_ptr<const geom::PolyMesh>& previousMesh() const { return previous_; }
    const std::shared_ptr<const geom::PolyMesh>& currentMesh() const { return current_; }
    const std::shared_ptr<const MeshFans>& meshFans() const { return fans_; }
    // The triangles of the list form (null for the mesh form).
    const std::shared_ptr<const std::vector<geom::SweptTriangle>>& triangles() const { return triangles_; }

private:
    static void prefetch(const void* address) {
#if defined(__GNUC__)
        __builtin_prefetch(address);
#else
        (void)address;
#endif
    }

    std::shared_ptr<const geom::PolyMesh> previous_;
    std::shared_ptr<const geom::PolyMesh> current_;
    std::shared_ptr<const MeshFans> fans_;
    // The vertex ids of previous_'s fan triangles, when previous_ has other polygons than current_ (null
    // when the fans' ids fit both).
    std::shared_ptr<const std::vector<MeshFans::Vertices>> previousFans_;
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
