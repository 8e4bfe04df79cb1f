#include "data/NurbsSurfaceData.h"

#include "data/WorldPoints.h"

#include <utility>

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
    world_ = std::make_shared<geom::NurbsSurface>(surface_->withCVs(transformPoints(surface_->cvs(), matrix_)));
}

MObject makeNurbsSurfaceData(geom::NurbsSurface surface, const MMatrix& world) {
    return MObject(std::make_shared<NurbsSurfaceData>(std::move(surface), world));
}

}  // namespace host
