#include "data/SweptGeometryData.h"

#include <utility>

namespace host {

namespace {

using FanVertices = SweptGeometryData::MeshFans::Vertices;

// Calls visit(t, corners) for each fan triangle t of a mesh: the triangles (0, k + 1, k + 2) of each
// polygon, polygons in order, corners given as face-vertex indices.
template <typename Visit>
void forEachFan(const geom::PolyMesh& mesh, Visit visit) {
    size_t t = 0;
    for (int p = 0; p < mesh.numPolygons(); ++p) {
        const size_t first = static_cast<size_t>(mesh.faceVertexOffset(p));
        for (size_t k = 0; k + 2 < static_cast<size_t>(mesh.polygonSize(p)); ++k) {
            const size_t corners[3] = {first, first + k + 1, first + k + 2};
            visit(t++, corners);
        }
    }
}

// The vertex ids of a mesh's fan triangles.
std::vector<FanVertices> fanVerticesOf(const geom::PolyMesh& mesh) {
    std::vector<FanVertices> vertices(static_cast<size_t>(mesh.numTriangles()));
    const std::vector<int>& connects = mesh.faceVertices();
    forEachFan(mesh, [&](size_t t, const size_t (&corners)[3]) {
        vertices[t] = {{connects[corners[0]], connects[corners[1]], connects[corners[2]]}};
    });
    return vertices;
}

}  // namespace

SweptGeometryData::SweptGeometryData(std::vector<geom::SweptTriangle> triangles)
    : triangles_(std::make_shared<const std::vector<geom::SweptTriangle>>(std::move(triangles))),
      count_(static_cast<int>(triangles_->size())) {}

std::shared_ptr<const SweptGeometryData::MeshFans> SweptGeometryData::fansOf(const geom::PolyMesh& mesh) {
    auto fans = std::make_shared<MeshFans>();
    fans->vertices = fanVerticesOf(mesh);
    fans->coordinates.resize(fans->vertices.size());
    const std::vector<int>& uvIds = mesh.faceVertexUVIds();
    const std::vector<geom::MeshUV>& uvs = mesh.uvs();
    forEachFan(mesh, [&](size_t t, const size_t (&corners)[3]) {
        MeshFans::Coordinates& uv = fans->coordinates[t];
        for (int c = 0; c < 3; ++c) {
            const int id = uvIds[corners[c]];
            uv.u[c] = id >= 0 ? uvs[static_cast<size_t>(id)].u : 0.0f;
            uv.v[c] = id >= 0 ? uvs[static_cast<size_t>(id)].v : 0.0f;
        }
    });
    return fans;
}

SweptGeometryData::SweptGeometryData(std::shared_ptr<const geom::PolyMesh> previous,
                                     std::shared_ptr<const geom::PolyMesh> current,
                                     std::shared_ptr<const MeshFans> fans) {
    if (!current) {
        triangles_ = std::make_shared<const std::vector<geom::SweptTriangle>>();
        return;
    }
    current_ = std::move(current);
    previous_ = previous && previous->numTriangles() == current_->numTriangles() ? std::move(previous) : current_;
    count_ = current_->numTriangles();
    fans_ = fans && fans->size() == static_cast<size_t>(count_) ? std::move(fans) : fansOf(*current_);
    const bool sharesFans = previous_ == current_ || (previous_->polygonOffsets() == current_->polygonOffsets() &&
                                                      previous_->faceVertices() == current_->faceVertices());
    if (!sharesFans)
        previousFans_ = std::make_shared<const std::vector<MeshFans::Vertices>>(fanVerticesOf(*previous_));
}

MObject makeSweptGeometryData(std::vector<geom::SweptTriangle> triangles) {
    return MObject(std::make_shared<SweptGeometryData>(std::move(triangles)));
}

MObject makeSweptGeometryData(std::shared_ptr<const geom::PolyMesh> previous,
                              std::shared_ptr<const geom::PolyMesh> current) {
    return MObject(std::make_shared<SweptGeometryData>(std::move(previous), std::move(current)));
}

}  // namespace host
