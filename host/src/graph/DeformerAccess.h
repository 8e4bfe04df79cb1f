#ifndef HOST_DEFORMERACCESS_H
#define HOST_DEFORMERACCESS_H

#include <maya/MPxDeformerNode.h>

#include <memory>
#include <vector>

class MItGeometry;

namespace host {

class GeometryPoints;

// Host-side access to the deformer base and the geometry iterator.
struct DeformerAccess {
    // Sets the component subset (component indices, 1, 2 or 3 ints per point) of input index k.
    static void setMembership(MPxDeformerNode& node, unsigned k, std::vector<int> indices);
    static const std::vector<int>* membership(const MPxDeformerNode& node, unsigned k);
};

struct GeometryIteratorAccess {
    // A writable iterator over the listed linear point indices (ascending), or over every member point
    // when all is true, which writes the points back into their data when it is destroyed.
    static std::unique_ptr<MItGeometry> make(std::unique_ptr<GeometryPoints> points, std::vector<int> members,
                                             bool all);
};

}  // namespace host

#endif
