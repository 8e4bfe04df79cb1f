#include "nonLinearBlendShape.h"

#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnData.h>
#include <maya/MFnGenericAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnNumericData.h>

MObject nonLinearBlendShape::inputTarget;
MObject nonLinearBlendShape::inputGeomTarget;
MObject nonLinearBlendShape::inputWeightTarget;
MObject nonLinearBlendShape::textureReferenceGeom;
MObject nonLinearBlendShape::forceUpdate;

MTypeId nonLinearBlendShape::id(0x1059C4);

nonLinearBlendShape::nonLinearBlendShape() = default;

nonLinearBlendShape::~nonLinearBlendShape() = default;

void* nonLinearBlendShape::creator() { return new nonLinearBlendShape; }

MStatus nonLinearBlendShape::initialize() {
    MFnCompoundAttribute compoundFn;
    inputTarget = compoundFn.create("inputTarget", "it");
    compoundFn.setArray(true);
    addAttribute(inputTarget);

    MFnGenericAttribute genericFn;
    inputGeomTarget = genericFn.create("inputGeomTarget", "igt");
    genericFn.addAccept(MFnData::kNurbsSurface);
    genericFn.addAccept(MFnData::kMesh);
    genericFn.addAccept(MFnData::kNurbsCurve);
    genericFn.addAccept(MFnData::kLattice);
    genericFn.addAccept(MFnData::kSubdSurface);
    genericFn.setParent(inputTarget);
    genericFn.setArray(true);
    genericFn.setReadable(false);
    genericFn.setWritable(true);
    genericFn.setConnectable(true);
    genericFn.setIndexMatters(false);
    addAttribute(inputGeomTarget);
    compoundFn.addChild(inputGeomTarget);

    MFnNumericAttribute numericFn;
    inputWeightTarget = numericFn.create("inputWeightTarget", "iwt", MFnNumericData::k3Double, 0);
    numericFn.setArray(true);
    numericFn.setReadable(false);
    numericFn.setWritable(true);
    numericFn.setConnectable(true);
    numericFn.setIndexMatters(false);
    numericFn.setUsedAsColor(true);
    addAttribute(inputWeightTarget);

    textureReferenceGeom = genericFn.create("textureReferenceGeom", "trg");
    genericFn.addAccept(MFnData::kNurbsSurface);
    genericFn.addAccept(MFnData::kMesh);
    genericFn.setArray(true);
    genericFn.setReadable(false);
    genericFn.setWritable(true);
    genericFn.setConnectable(true);
    genericFn.setIndexMatters(false);
    addAttribute(textureReferenceGeom);

    forceUpdate = numericFn.create("forceUpdate", "fu", MFnNumericData::kDouble, 0);
    numericFn.setReadable(true);
    numericFn.setWritable(true);
    numericFn.setKeyable(true);
    addAttribute(forceUpdate);

    for (const MObject* cause : {&inputTarget, &inputGeomTarget, &inputWeightTarget, &forceUpdate, &textureReferenceGeom})
        attributeAffects(*cause, outputGeom);
    for (const MObject* cause : {&inputTarget, &inputWeightTarget, &inputGeomTarget, &forceUpdate})
        attributeAffects(*cause, envelope);
    return MStatus::kSuccess;
}

MStatus nonLinearBlendShape::deform(MDataBlock& block, MItGeometry& iter, const MMatrix& matrix, unsigned int multiIndex) {
    return MPxDeformerNode::deform(block, iter, matrix, multiIndex);
}
