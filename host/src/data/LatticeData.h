#ifndef HOST_LATTICEDATA_H
#define HOST_LATTICEDATA_H

#include "data/Data.h"
#include "geometry/Lattice.h"

#include <maya/MMatrix.h>

#include <memory>

namespace host {

// Data holding one lattice (object space) and a world matrix, identity by default; the lattice in world
// space (its points transformed) is kept beside it. Lattices are never changed in place: setLattice()
// and setWorldMatrix() replace them, so copies share them and stay independent values.
// The data is of the kind of its function set as well (hasFn(MFn::kLattice)).
class LatticeData : public Data {
public:
    LatticeData();  // the default 2 x 2 x 2 lattice
    explicit LatticeData(geom::Lattice lattice, const MMatrix& world = MMatrix::identity);
    explicit LatticeData(std::shared_ptr<const geom::Lattice> lattice, const MMatrix& world = MMatrix::identity);

    MFn::Type apiType() const override { return MFn::kLatticeData; }
    MFnData::Type dataType() const override { return MFnData::kLattice; }
    bool hasFn(MFn::Type type) const override { return type == MFn::kLattice || Data::hasFn(type); }
    std::shared_ptr<Data> clone() const override { return std::make_shared<LatticeData>(*this); }

    const geom::Lattice& lattice() const { return *lattice_; }
    const geom::Lattice& worldLattice() const { return *world_; }
    const MMatrix& worldMatrix() const { return matrix_; }
    const std::shared_ptr<const geom::Lattice>& sharedWorldLattice() const { return world_; }

    void setLattice(geom::Lattice lattice);
    void setWorldMatrix(const MMatrix& world);

private:
    void rebuildWorld();

    std::shared_ptr<const geom::Lattice> lattice_;
    std::shared_ptr<const geom::Lattice> world_;
    MMatrix matrix_;
};

// New lattice data, for the host's nodes, commands and tests.
MObject makeLatticeData(geom::Lattice lattice, const MMatrix& world = MMatrix::identity);

}  // namespace host

#endif
