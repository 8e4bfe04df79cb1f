#include "data/LatticeData.h"

#include "data/WorldPoints.h"

#include <utility>

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
    const geom::Lattice& l = *lattice_;
    world_ = std::make_shared<geom::Lattice>(l.sDivisions(), l.tDivisions(), l.uDivisions(),
                                             transformPoints(l.points(), matrix_));
}

MObject makeLatticeData(geom::Lattice lattice, const MMatrix& world) {
    return MObject(std::make_shared<LatticeData>(std::move(lattice), world));
}

}  // namespace host
