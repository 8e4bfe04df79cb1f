#ifndef VEXMORA_NORMALFIELD_H
#define VEXMORA_NORMALFIELD_H

// Field node that computes no force: for the selected particles of each connected particle object it
// writes the vector from the closest point of the input curve to the particle (and, on request, its
// normalised form and the normalised curve parameter) into per-particle attributes named by the user.

#include <maya/MDataBlock.h>
#include <maya/MDoubleArray.h>
#include <maya/MFnDependencyNode.h>
#include <maya/MObject.h>
#include <maya/MPlug.h>
#include <maya/MPxFieldNode.h>
#include <maya/MStatus.h>
#include <maya/MString.h>
#include <maya/MTypeId.h>
#include <maya/MVectorArray.h>

class normalField : public MPxFieldNode {
public:
    normalField();
    ~normalField() override;

    static void* creator();
    static MStatus initialize();

    MStatus compute(const MPlug& plug, MDataBlock& block) override;

    // Per-particle attributes of a particle object, by name. The readers take double-array and
    // vector-array data respectively, without conversion, and leave out as it was when there is
    // nothing of their kind to read.
    void getDoubleArrayData(const MFnDependencyNode& particleObject, const MString& name, MDoubleArray& out);
    void getVectorArrayData(const MFnDependencyNode& particleObject, const MString& name, MVectorArray& out);
    void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
                 const MVectorArray& values);
    void setData(const MFnDependencyNode& particleObject, const MString& name, const MDoubleArray& selection,
                 const MDoubleArray& values);

    static MObject inputCurve;
    static MObject magnitudePP;
    static MObject outNormal;
    static MObject resultNormal;
    static MObject resultNormalizedNormal;
    static MObject resultUValue;

    static MTypeId id;
};

#endif
