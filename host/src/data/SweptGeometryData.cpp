#include "data/SweptGeometryData.h"

#include <utility>

namespace host {

SweptGeometryData::SweptGeometryData(std::vector<geom::SweptTriangle> triangles)
    : triangles_(std::make_shared<const std::vector<geom::SweptTriangle>>(std::move(triangles))),
      count_(static_cast<int>(triangles_->size())) {}

std::shared_ptr<const SweptGeometryData::MeshFans> SweptGeometryData::fansOf(const geom::PolyMesh& mesh) {
    auto fans = std::make_shared<MeshFans>();
    fans->vertices.resize(static_cast<size_t>(mesh.numTriangles()));
    fans->coordinates.resize(static_cast<size_t>(mesh.numTriangles()));
    const std::vector<int>& connects = mesh.faceVertices();
    const std::vector<int>& uvIds = mesh.faceVertexUVIds();
    const std::vector<geom::MeshUV>& uvs = mesh.uvs();
    size_t t = 0;
    for (int p = 0; p < mesh.numPolygons(); ++p) {
        const int first = mesh.faceVertexOffset(p);
        for (int k = 0; k + 2 < mesh.polygonSize(p); ++k) {
            MeshFans::Vertices& fan = fans->vertices[t];
            MeshFans::Coordinates& uv = fans->coordinates[t];
            ++t;
            const int corners[3] = {first, first + k + 1, first + k + 2};
            for (int c = 0; c < 3; ++c) {
                const size_t fv = static_cast<size_t>(corners[c]);
                fan.id[c] = connects[fv];
                const int id = uvIds[fv];
                uv.u[c] = id >= 0 ? uvs[static_cast<size_t>(id)].u : 0.0f;
                uv.v[c] = id >= 0 ? uvs[static_cast<size_t>(id)].v : 0.0f;
            }
        }
    }
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

std::vector<SweptGeometryData::MeshFans::Vertices> SweptGeometryData::fanVerticesOf(const geom::PolyMesh& mesh) {
    std::vector<MeshFans::Vertices> vertices(static_cast<size_t>(mesh.numTriangles()));
    const std::vector<int>& connects = mesh.faceVertices();
    size_t t = 0;
    for (int p = 0; p < mesh.numPolygons(); ++p) {
        const size_t first = static_cast<size_t>(mesh.faceVertexOffset(p));
        for (size_t k = 0; k + 2 < static_cast<size_t>(mesh.polygonSize(p)); ++k)
            vertices[t++] = {{connects[first], connects[first + k + 1], connects[first + k + 2]}};
    }
    return vertices;
}

MObject makeSweptGeometryData(std::vector<geom::SweptTriangle> triangles) {
    return MObject(std::make_shared<SweptGeometryData>(std::move(triangles)));
}

MObject makeSweptGeometryData(std::shared_ptr<const geom::PolyMesh> previous,
                              std::shared_ptr<const geom::PolyMesh> current) {
    return MObject(std::make_shared<SweptGeometryData>(std::move(previous), std::move(current)));
}

}  // namespace host
