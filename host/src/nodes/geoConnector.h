#ifndef HOST_GEOCONNECTOR_H
#define HOST_GEOCONNECTOR_H

#include <maya/MObject.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTime.h>
#include <maya/MTypeId.h>

#include <memory>

// The geometry connector (type "geoConnector", apiType kGeoConnector): turns the world-space
// geometry of an emitting shape into swept triangles for emitters. Attributes, long/short name:
//
//   localGeometry/lg    mesh or NURBS surface data, input: the shape's world-space geometry
//                       (addDynamic connects the shape's worldMesh[0] or worldSpace[0])
//   currentTime/ct      time, input (addDynamic connects time1.outTime)
//   sweptGeometry/swg   swept-geometry data, output; localGeometry and currentTime affect it
//
// Triangles: a mesh gives the fan (0, k+1, k+2) of each polygon, polygons in order, so triangle j of
// the swept data is the j-th fan triangle of the mesh; its uvPoint(k) is the corner's UV in the default
// set, (0, 0) for a corner without one. The swept data refers to the shape's world-space mesh itself
// (nothing is copied per triangle), so a compute costs the same for any mesh size. A NURBS surface
// gives a grid of parameter cells, each split into two triangles, with uvPoint(k) the surface
// parameters (knot domain) at the corner. Anything else (no geometry, other data) gives no triangles.
//
// Previous step: the connector keeps the output of its last compute and the time of it. When the time
// has moved forward and the triangle count (and the kind of geometry) is unchanged, the previous
// corners are the last compute's current corners (so vertex(k, t) moves with the shape over the step);
// otherwise (the first compute, time going back, a new topology) the previous corners equal the current
// ones. A recompute at the same time keeps the previous corners it had.
//
// The connector computes only when its inputs change: a new time, or new geometry from the shape.
namespace host {
class SweptGeometryData;
}

class geoConnectorNode : public MPxNode {
public:
    static const MTypeId id;
    static const char* const typeName;

    static MObject localGeometry;
    static MObject currentTime;
    static MObject sweptGeometry;

    static void* creator();
    static MStatus initialize();

    MStatus compute(const MPlug& plug, MDataBlock& block) override;

private:
    std::shared_ptr<const host::SweptGeometryData> last_;
    MTime lastTime_;
    bool computed_ = false;
};

namespace host {

// Registers the "geoConnector" node type.
MStatus registerGeoConnectorType();

}  // namespace host

#endif
