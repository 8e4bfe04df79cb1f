#include "data/MeshData.h"

#include <cmath>
#include <utility>
#include <vector>

namespace host {

namespace {

// True when L is s * (an orthogonal matrix): its rows are orthogonal and of one length.
bool isSimilarity(const double l[3][3], double& scale2) {
    double g[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            g[i][j] = l[i][0] * l[j][0] + l[i][1] * l[j][1] + l[i][2] * l[j][2];
    scale2 = (g[0][0] + g[1][1] + g[2][2]) / 3.0;
    if (!(scale2 > 0.0) || !std::isfinite(scale2))
        return false;
    const double tol = 1e-12 * scale2;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (std::fabs(g[i][j] - (i == j ? scale2 : 0.0)) > tol)
                return false;
    return true;
}

}  // namespace

MeshData::MeshData() : MeshData(std::make_shared<const geom::PolyMesh>()) {}

MeshData::MeshData(geom::PolyMesh mesh, const MMatrix& world)
    : MeshData(std::make_shared<const geom::PolyMesh>(std::move(mesh)), world) {}

MeshData::MeshData(std::shared_ptr<const geom::PolyMesh> mesh, const MMatrix& world)
    : mesh_(mesh ? std::move(mesh) : std::make_shared<const geom::PolyMesh>()), matrix_(world), map_(world.matrix) {
    identity_ = world == MMatrix::identity;
    double s2 = 1.0;
    similarity_ = identity_ || isSimilarity(map_.l, s2);
    if (similarity_ && !identity_) {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                inverse_.l[i][j] = map_.l[j][i] / s2;
        const geom::Vec3 t = map_.t;
        inverse_.t = {};
        inverse_.t = -inverse_.apply(t);
    }
}

void MeshData::setMesh(std::shared_ptr<const geom::PolyMesh> mesh) {
    std::lock_guard<std::mutex> lock(worldMutex_);
    mesh_ = mesh ? std::move(mesh) : std::make_shared<const geom::PolyMesh>();
    world_.reset();
}

geom::MeshClosestPoint MeshData::closestPointWorld(const geom::Vec3& q) const {
    if (identity_)
        return mesh_->closestPoint(q);
    if (similarity_) {
        geom::MeshClosestPoint r = mesh_->closestPoint(inverse_.apply(q));
        if (r.found) {
            r.point = map_.apply(r.point);
            r.distanceSquared = geom::lengthSquared(r.point - q);
        }
        return r;
    }
    return worldMesh()->closestPoint(q);
}

std::shared_ptr<const geom::PolyMesh> MeshData::worldMesh() const {
    if (identity_)
        return mesh_;
    std::lock_guard<std::mutex> lock(worldMutex_);
    if (!world_) {
        const geom::PolyMesh& m = *mesh_;
        std::vector<geom::Vec3> points;
        points.reserve(m.points().size());
        for (const geom::Vec3& p : m.points())
            points.push_back(map_.apply(p));
        std::vector<int> counts(m.numPolygons());
        for (int p = 0; p < m.numPolygons(); ++p)
            counts[p] = m.polygonSize(p);
        world_ = std::make_shared<const geom::PolyMesh>(std::move(points), std::move(counts), m.faceVertices(), m.uvs(),
                                                        m.faceVertexUVIds());
    }
    return world_;
}

MObject makeMeshData(geom::PolyMesh mesh, const MMatrix& world) {
    return MObject(std::make_shared<MeshData>(std::move(mesh), world));
}

}  // namespace host
