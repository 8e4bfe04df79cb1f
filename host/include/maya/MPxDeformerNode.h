#ifndef MPXDEFORMERNODE_H
#define MPXDEFORMERNODE_H

#include <maya/MPxNode.h>

#include <map>
#include <vector>

class MDataBlock;
class MItGeometry;
class MMatrix;
class MPlug;

namespace host {
struct DeformerAccess;
}

// Base of deformer nodes. Its attributes exist before any deformer type is registered and are shared by
// all deformer types (a class derived from it but registered as another kind gets none of them):
//   input[k]              compound array, one element per deformed geometry, children:
//     inputGeom           the geometry to deform (mesh, NURBS curve, NURBS surface or lattice data)
//     groupId             int, kept for scene compatibility; the host does not read it
//   outputGeom[k]         the deformed geometry of input[k] (computed, not writable)
//   envelope              float, default 1
//   weightList[k].weights[i]  per-point weight of point i of geometry k; 1 where none is set
// input, its children, envelope and the weights affect outputGeom.
//
// compute(outputGeom[k]) copies input[k].inputGeom into outputGeom[k], then calls deform with an
// iterator over the member points of geometry k (all points, or the component subset the deformer was
// given for that geometry) and k itself. Whatever deform leaves in the points is the output, and the
// output is clean, whatever status deform returns; that status is compute's. A missing or empty input
// element gives an empty output and kInvalidParameter without calling deform.
class MPxDeformerNode : public MPxNode {
public:
    MPxDeformerNode() = default;
    ~MPxDeformerNode() override;

    Type type() const override;
    MStatus compute(const MPlug& plug, MDataBlock& block) override;
    // The default moves nothing and answers kUnknownParameter.
    virtual MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix& localToWorld, unsigned int multiIndex);
    // Weight of point wtIndex (MItGeometry::index()) of geometry multiIndex; 1 where none is set.
    // Inline for the geometry being deformed, whose weights compute has read.
    float weightValue(MDataBlock& block, unsigned int multiIndex, unsigned int wtIndex) {
        if (cachedIndex_ == static_cast<long>(multiIndex)) {
            if (wtIndex < weightCache_.size()) return weightCache_[wtIndex];
            if (unweighted_) return 1.0f;
        }
        return readWeight(block, multiIndex, wtIndex);
    }

    static MObject input;
    static MObject inputGeom;
    static MObject groupId;
    static MObject outputGeom;
    static MObject envelope;
    static MObject weightList;
    static MObject weights;

private:
    friend struct host::DeformerAccess;
    float readWeight(MDataBlock& block, unsigned int multiIndex, unsigned int wtIndex);
    // Component subsets by input index, as component indices (1, 2 or 3 ints per point); an input
    // without an entry deforms all its points.
    std::map<unsigned, std::vector<int>> membership_;
    // The weights of the geometry being deformed, read once per compute: weightValue answers from them.
    // A geometry without any weight set keeps no table: every point has weight 1 (unweighted_).
    std::vector<float> weightCache_;
    long cachedIndex_ = -1;
    bool unweighted_ = false;
};

#endif
