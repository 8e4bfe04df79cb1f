#ifndef HOST_MESH_NODE_H
#define HOST_MESH_NODE_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

// The host's polygon mesh shape (type "mesh", apiType kMesh). Attributes, long/short name:
//
//   inMesh/i           mesh data, input       the mesh
//   outMesh/o          mesh data, output      the mesh in object space
//   worldMesh/w        array of mesh data     element 0: the mesh with the shape's world matrix, which
//                      output                 follows the transforms above it
//   instObjGroups/iog  array of message-like connection points, for shading-group membership
//
// inMesh affects both outputs, the world matrix worldMesh; any request computes and cleans both. An inMesh value carrying a
// world matrix (another shape's worldMesh) is taken in its world space: that becomes this shape's own
// mesh, as in Maya. The outputs are new data objects sharing one immutable mesh with the input (and so
// one closest-point tree); nothing is copied unless the input's matrix has to be applied.
class meshNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;

    static MObject inMesh;
    static MObject outMesh;
    static MObject worldMesh;
    static MObject instObjGroups;

    static void* creator();
    static MStatus initialize();

    MStatus compute(const MPlug& plug, MDataBlock& block) override;
};

namespace host {

// Registers the "mesh" node type.
MStatus registerMeshType();

}  // namespace host

#endif
