#ifndef HOST_CURVESOURCE_NODE_H
#define HOST_CURVESOURCE_NODE_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

// A node that passes NURBS curve data through and has no parameter range: no "minValue"/"maxValue".
// Scenes use it to feed a curve from a node that is not a curve shape. Type "curveSource", apiType
// kDependencyNode. Attributes, long/short name:
//
//   curve/cv        curve data, input
//   outCurve/oc     curve data, output: a copy of curve (null when curve is null)
class curveSourceNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;

    static MObject curve;
    static MObject outCurve;

    static void* creator();
    static MStatus initialize();

    MStatus compute(const MPlug& plug, MDataBlock& block) override;
};

namespace host {

// Registers the "curveSource" node type.
MStatus registerCurveSourceType();

}  // namespace host

#endif
