#include "data/LatticeData.h"

#include <utility>
#include <vector>

namespace host {

LatticeData::LatticeData() : lattice_(std::make_shared<geom::Lattice>()), world_(lattice_) {}

LatticeData::LatticeData(geom::Lattice lattice, const MMatrix& world)
    : lattice_(std::make_shared<geom::Lattice>(std::move(lattice))), world_(lattice_), matrix_(world) {
    rebuildWorld();
}

LatticeData::LatticeData(std::shared_ptr<const geom::Lattice> lattice, const MMatrix& world)
    : lattice_(lattice ? std::move(lattice) : std::make_shared<geom::Lattice>()), world_(lattice_), matrix_(world) {
    rebuildWorld();
}

void LatticeData::setLattice(geom::Lattice lattice) {
    lattice_ = std::make_shared<geom::Lattice>(std::move(lattice));
    rebuildWorld();
}

void LatticeData::setWorldMatrix(const MMatrix& world) {
    matrix_ = world;
    rebuildWorld();
}

void LatticeData::rebuildWorld() {
    if (matrix_ == MMatrix::identity || !lattice_->isValid()) {
        world_ = lattice_;
        return;
    }
    const double(*m)[4] = matrix_.matrix;
    std::vector<geom::Vec3> points;
    points.reserve(lattice_->points().size());
    for (const geom::Vec3& p : lattice_->points()) {
        points.push_back({p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0],
                          p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1],
                          p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2]});
    }
    const geom::Lattice& l = *lattice_;
    world_ = std::make_shared<geom::Lattice>(l.sDivisions(), l.tDivisions(), l.uDivisions(), std::move(points));
}

MObject makeLatticeData(geom::Lattice lattice, const MMatrix& world) {
    return MObject(std::make_shared<LatticeData>(std::move(lattice), world));
}

}  // namespace host
