#ifndef HOST_TRANSFORM_NODE_H
#define HOST_TRANSFORM_NODE_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

// The host's transform (type "transform", apiType kTransform): places the DAG nodes below it (see
// graph/Dag.h). Attributes, long/short name:
//
//   translate/t   tx ty tz   double, default 0
//   rotate/r      rx ry rz   angles, default 0: radians in the API, degrees in setAttr/getAttr, as in Maya
//   scale/s       sx sy sz   double, default 1
//   worldMatrix/wm           hidden; marks world-matrix changes (graph/Dag.h)
//
// The local matrix is S * R * T with R = Rx * Ry * Rz (rotate order XYZ, the only order the host has) in
// the row-vector convention. The node computes nothing: matrices are products the DAG forms on demand.
class transformNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;

    static MObject translate;
    static MObject rotate;
    static MObject scale;

    static void* creator();
    static MStatus initialize();
};

namespace host {

// Registers the "transform" node type.
MStatus registerTransformType();

}  // namespace host

#endif
