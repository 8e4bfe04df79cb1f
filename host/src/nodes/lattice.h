#ifndef HOST_LATTICE_NODE_H
#define HOST_LATTICE_NODE_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

#include <vector>

// The host's lattice shape (type "lattice", apiType kLattice): an S x T x U grid of points, point
// (s, t, u) at linear index s + S * (t + T * u) (s fastest, then t, then u). Attributes, long/short:
//
//   latticeInput/li      lattice data, input     when it holds a lattice, that is this shape's lattice
//                                                (a deformer's output feeds it); the rest below is then
//                                                not used
//   sDivisions/sd, tDivisions/td, uDivisions/ud   long, input, default 2: the grid without an input,
//                                                regular over the unit cube centred at the origin. Values
//                                                are clamped to 2 .. 1000; a grid of more than 1000000
//                                                points gives an empty (invalid) lattice
//   controlPoints/cp     array of double3, input element i, when set, places point i of that grid
//                                                (elements at or beyond the point count are ignored)
//   latticeOutput/lo     lattice data, output    the lattice in object space
//   worldLattice/wl      array of lattice data   element 0: the lattice with the shape's world matrix
//                        output                  (graph/Dag.h)
//
// Every input affects both outputs, the world matrix worldLattice; any request computes and cleans both. A latticeInput carrying a
// world matrix is taken in its world space. Outputs are new data objects.
class latticeNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;

    static MObject latticeInput;
    static MObject sDivisions;
    static MObject tDivisions;
    static MObject uDivisions;
    static MObject controlPoints;
    static MObject latticeOutput;
    static MObject worldLattice;

    static void* creator();
    static MStatus initialize();

    MStatus compute(const MPlug& plug, MDataBlock& block) override;
};

namespace host {

// Registers the "lattice" node type.
MStatus registerLatticeType();

}  // namespace host

#endif
