#ifndef MFNLATTICE_H
#define MFNLATTICE_H

#include <maya/MFnBase.h>
#include <maya/MPoint.h>
#include <maya/MStatus.h>

namespace host {
class LatticeData;
}

// Function set on lattice data or a "lattice" shape node: an S x T x U grid of points.
//
// Host choices:
// - On a shape the set reads the lattice of its "latticeOutput" as it is when the set is attached;
//   setDivisions() on a shape sets its "sDivisions", "tDivisions" and "uDivisions" and reads the lattice
//   again. On data, setDivisions() resamples the data's lattice (trilinear blend of the old grid).
// - point() returns the point by value (object space). Indices outside the grid give kInvalidParameter
//   and the origin; a set attached to nothing gives kFailure.
// - Divisions are 2 to 1000 per direction, and 1000000 points in all; others are refused with
//   kInvalidParameter and change nothing.
class MFnLattice : public MFnBase {
public:
    MFnLattice() = default;
    // Refuses (kInvalidParameter) anything that is not lattice data or a lattice shape.
    explicit MFnLattice(const MObject& lattice, MStatus* status = nullptr);

    MFn::Type type() const override { return MFn::kLattice; }

    MStatus getDivisions(unsigned& s, unsigned& t, unsigned& u) const;
    MStatus setDivisions(unsigned s, unsigned t, unsigned u);
    MPoint point(unsigned s, unsigned t, unsigned u, MStatus* status = nullptr) const;

    MStatus setObject(const MObject& object);

private:
    const host::LatticeData* data_ = nullptr;  // kept alive by obj_ or held_
    MObject held_;                              // on a shape: the lattice data read from it
};

#endif
