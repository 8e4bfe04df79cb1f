#include "data/NurbsSurfaceData.h"

#include <utility>
#include <vector>

namespace host {

NurbsSurfaceData::NurbsSurfaceData() : surface_(std::make_shared<geom::NurbsSurface>()), world_(surface_) {}

NurbsSurfaceData::NurbsSurfaceData(geom::NurbsSurface surface, const MMatrix& world)
    : surface_(std::make_shared<geom::NurbsSurface>(std::move(surface))), world_(surface_), matrix_(world) {
    rebuildWorld();
}

NurbsSurfaceData::NurbsSurfaceData(std::shared_ptr<const geom::NurbsSurface> surface, const MMatrix& world)
    : surface_(surface ? std::move(surface) : std::make_shared<geom::NurbsSurface>()), world_(surface_),
      matrix_(world) {
    rebuildWorld();
}

void NurbsSurfaceData::setSurface(geom::NurbsSurface surface) {
    surface_ = std::make_shared<geom::NurbsSurface>(std::move(surface));
    rebuildWorld();
}

void NurbsSurfaceData::setWorldMatrix(const MMatrix& world) {
    matrix_ = world;
    rebuildWorld();
}

void NurbsSurfaceData::rebuildWorld() {
    if (matrix_ == MMatrix::identity || !surface_->isValid()) {
        world_ = surface_;
        return;
    }
    const double(*m)[4] = matrix_.matrix;
    std::vector<geom::Vec3> cvs;
    cvs.reserve(surface_->cvs().size());
    for (const geom::Vec3& p : surface_->cvs()) {
        cvs.push_back({p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
                       p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
                       p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]});
    }
    world_ = std::make_shared<geom::NurbsSurface>(surface_->withCVs(std::move(cvs)));
}

MObject makeNurbsSurfaceData(geom::NurbsSurface surface, const MMatrix& world) {
    return MObject(std::make_shared<NurbsSurfaceData>(std::move(surface), world));
}

}  // namespace host
