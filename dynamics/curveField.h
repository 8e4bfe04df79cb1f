#ifndef VEXMORA_CURVEFIELD_H
#define VEXMORA_CURVEFIELD_H

// Field node that drives particles along an input NURBS curve (speed along the tangent), toward a tube
// around it (attraction and offset) and around it (rotation), each setting optionally modulated per
// particle and by a texture sampled along the curve. It can also write per-particle curve results
// (curve-to-particle vector, its unit vector, normalised curve parameter) onto the particle object.

#include <maya/MDataBlock.h>
#include <maya/MDoubleArray.h>
#include <maya/MFloatArray.h>
#include <maya/MFloatVectorArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPointArray.h>
#include <maya/MPxFieldNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>
#include <maya/MVectorArray.h>

class curveField : public MPxFieldNode {
public:
    curveField();
    ~curveField() override;

    static void* creator();
    static MStatus initialize();

    MStatus compute(const MPlug& plug, MDataBlock& block) override;

    // Force model.
    void computeForce(MDataBlock& block, const MVectorArray& positions, const MDoubleArray& masses,
                      const MDoubleArray& magnitudes, const MPointArray& closestPoints,
                      const MVectorArray& tangents, const MDoubleArray& speedEffect,
                      const MDoubleArray& offsetEffect, const MDoubleArray& rotationEffect,
                      const MDoubleArray& rotationSpeedEffect, const MDoubleArray& attractionEffect,
                      MVectorArray& forces);
    void calculateRamp(const MString& mapAttributeName, const MFloatArray& parameters, MDoubleArray& rampValues);
    void calculateAttrEffectData(MDataBlock& block, const MFnDependencyNode& particleObject,
                                 const MString& scalarAttributeName, const MString& perParticleAttributeName,
                                 const MString& mapAttributeName, const int& count,
                                 const MFloatArray& parameters, MDoubleArray& effect);

    // Per-particle attributes of a particle object, by name. The reader takes double-array data only,
    // without conversion, and stops at the first failed or refused step, leaving out as it was.
    void getDoubleArrayData(const MFnDependencyNode& particleObject, const MString& name, MDoubleArray& out);
    void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
                 const MFloatVectorArray& values);
    void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
                 const MDoubleArray& values);

    static MObject inputCurve;
    static MObject magnitudePP;
    static MObject speed;
    static MObject speedPP;
    static MObject speedMap;
    static MObject offset;
    static MObject offsetPP;
    static MObject offsetMap;
    static MObject attraction;
    static MObject attractionPP;
    static MObject attractionMap;
    static MObject rotation;
    static MObject rotationPP;
    static MObject rotationMap;
    static MObject rotationSpeed;
    static MObject rotationSpeedPP;
    static MObject rotationSpeedMap;
    static MObject rotationAttenuation;
    static MObject resultNormal;
    static MObject resultNormalizedNormal;
    static MObject resultUValue;

    static MTypeId id;
};

#endif
