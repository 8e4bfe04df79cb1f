#ifndef MFNLATTICEDATA_H
#define MFNLATTICEDATA_H

#include <maya/MFnData.h>

// Function set on lattice data. create() makes new data holding the regular 2 x 2 x 2 lattice (the unit
// cube centred at the origin). In the host the data object is itself the lattice, so lattice() returns
// the attached data, ready for MFnLattice.
class MFnLatticeData : public MFnData {
public:
    MFnLatticeData() = default;
    // Refuses (kInvalidParameter) anything that is not lattice data.
    explicit MFnLatticeData(const MObject& object, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kLatticeData; }

    MObject create(MStatus* status = nullptr);
    MObject lattice(MStatus* status = nullptr);
};

#endif
