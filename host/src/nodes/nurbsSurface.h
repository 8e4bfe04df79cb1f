#ifndef HOST_NURBSSURFACE_NODE_H
#define HOST_NURBSSURFACE_NODE_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

#include <vector>

// The host's NURBS surface shape (type "nurbsSurface", apiType kNurbsSurface). Attributes, long/short:
//
//   create/cr          surface data, input    the surface
//   local/l            surface data, output   the surface in object space
//   worldSpace/ws      array of surface data  element 0: the surface with the shape's world matrix
//                      output                 (graph/Dag.h)
//   minValueU/mnu, maxValueU/mxu,
//   minValueV/mnv, maxValueV/mxv  double, output   the knot domain (0 without a valid surface)
//   degreeU/du, degreeV/dv        long, output     degrees (0 without a valid surface)
//   spansU/su, spansV/sv          long, output     spans, CVs - degree (0 without a valid surface)
//   formU/fu, formV/fv            long, output     1 open, 2 closed, 3 periodic (0 without a surface)
//   instObjGroups/iog  array of message-like connection points, for shading-group membership
//
// As for "nurbsCurve": create affects every output, the world matrix affects worldSpace, any request computes and cleans them all, a create
// value carrying a world matrix is taken in its world space, and outputs are new data objects.
class nurbsSurfaceNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;

    static MObject create;
    static MObject local;
    static MObject worldSpace;
    static MObject minValueU;
    static MObject maxValueU;
    static MObject minValueV;
    static MObject maxValueV;
    static MObject degreeU;
    static MObject degreeV;
    static MObject spansU;
    static MObject spansV;
    static MObject formU;
    static MObject formV;
    static MObject instObjGroups;

    static void* creator();
    static MStatus initialize();

    MStatus compute(const MPlug& plug, MDataBlock& block) override;

private:
    static std::vector<const MObject*> outputs();
};

namespace host {

// Registers the "nurbsSurface" node type.
MStatus registerNurbsSurfaceType();

}  // namespace host

#endif
