#ifndef NONLINEARBLENDSHAPE_H
#define NONLINEARBLENDSHAPE_H

#include <maya/MDataBlock.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatPointArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MIntArray.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MPxDeformerNode.h>
#include <maya/MStatus.h>
#include <maya/MTypeId.h>

class MItGeometry;

// Deforms meshes, NURBS surfaces, NURBS curves and lattices toward any number of target geometries,
// matching points by component id; each target's weight is a colour's mean or the luminance of a shading
// network sampled at the deformed points.
class nonLinearBlendShape : public MPxDeformerNode {
public:
    nonLinearBlendShape();
    ~nonLinearBlendShape() override;

    MStatus deform(MDataBlock& block, MItGeometry& iter, const MMatrix& matrix, unsigned int multiIndex) override;

    static void* creator();
    static MStatus initialize();

    static MObject inputTarget;
    static MObject inputGeomTarget;
    static MObject inputWeightTarget;
    static MObject textureReferenceGeom;
    static MObject forceUpdate;

    static MTypeId id;

private:
    // Scratch data of the geometry being deformed, one entry per point in iterator order.
    MIntArray componentList;
    MIntArray componentU;
    MIntArray componentV;
    MIntArray tripleS;
    MIntArray tripleT;
    MIntArray tripleU;
    MFloatPointArray pos;
    MFloatPointArray refPos;
    MFloatVectorArray normals;
    MFloatArray uCoords;
    MFloatArray vCoords;
    MFloatVectorArray tangentUs;
    MFloatVectorArray tangentVs;
};

#endif
