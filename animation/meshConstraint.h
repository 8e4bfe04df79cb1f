#ifndef MESHCONSTRAINT_H
#define MESHCONSTRAINT_H

#include <maya/MDataBlock.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

// For input element i (a polygon id and a (u, v) in the mesh's default UV set) outputs in element i the
// world-space point at (u, v) on that polygon (its centre when (u, v) lies outside it), a rotation built
// from the polygon's normal and first edge (radians, XYZ order), and the normal scaled by 3. Each
// evaluation answers one element of one output.
//
// An output element that cannot be reached is never replaced by another: the position then fails with
// its message, and the rotation and the normal fail the same way without one.
class meshConstraint : public MPxNode {
public:
    meshConstraint();
    ~meshConstraint() override;

    MStatus compute(const MPlug& plug, MDataBlock& data) override;

    static void* creator();
    static MStatus initialize();

    static MObject inMesh;
    static MObject input;
    static MObject polygonId;
    static MObject uValue;
    static MObject vValue;
    static MObject resultPosition;
    static MObject rotateX;
    static MObject rotateY;
    static MObject rotateZ;
    static MObject resultRotation;
    static MObject resultNormal;

    static MTypeId id;
};

#endif
