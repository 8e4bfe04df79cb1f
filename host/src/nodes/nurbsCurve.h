#ifndef HOST_NURBSCURVE_NODE_H
#define HOST_NURBSCURVE_NODE_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

// The host's NURBS curve shape (type "nurbsCurve", apiType kNurbsCurve). Attributes, long/short name:
//
//   create/cr        curve data, input     the curve
//   local/l          curve data, output    the curve in object space
//   worldSpace/ws    array of curve data   element 0: the curve with the shape's world matrix (graph/Dag.h),
//                    output                for feeding other nodes
//   minValue/min     double, output        start of the knot domain (0 without a valid curve)
//   maxValue/max     double, output        end of the knot domain (0 without a valid curve)
//   degree/d         long, output          degree (0 without a valid curve)
//   spans/s          long, output          number of spans, CVs - degree (0 without a valid curve)
//   form/f           long, output          1 open, 2 closed, 3 periodic (0 without a valid curve)
//
// create affects every output, the world matrix affects worldSpace, and any request (worldSpace elements included) computes them all and
// marks them all clean. A create value that carries a world matrix (another shape's worldSpace output)
// is taken in its world space: that becomes this shape's own curve, as in Maya. Outputs are new data
// objects, so changing one never changes the input.
class nurbsCurveNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;

    static MObject create;
    static MObject local;
    static MObject worldSpace;
    static MObject minValue;
    static MObject maxValue;
    static MObject degree;
    static MObject spans;
    static MObject form;

    static void* creator();
    static MStatus initialize();

    MStatus compute(const MPlug& plug, MDataBlock& block) override;
};

namespace host {

// Registers the "nurbsCurve" node type.
MStatus registerNurbsCurveType();

}  // namespace host

#endif
