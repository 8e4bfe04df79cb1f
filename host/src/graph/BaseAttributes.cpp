#include "graph/Dag.h"
#include "graph/Scene.h"

#include <maya/MFnCompoundAttribute.h>
#include <maya/MFnGenericAttribute.h>
#include <maya/MFnNumericAttribute.h>
#include <maya/MFnTypedAttribute.h>
#include <maya/MFnUnitAttribute.h>
#include <maya/MPxDeformerNode.h>
#include <maya/MPxEmitterNode.h>
#include <maya/MPxFieldNode.h>

// The attributes every node type starts with, and those of the field and emitter bases. They are made
// once, on first use, and shared by every type of their kind.

namespace host {

namespace {

struct BaseAttributes {
    MObject message;
    MObject visibility;  // every DAG node's, as in Maya: off hides the node and all below it in pictures
    std::vector<MObject> field;    // top level, in order
    std::vector<MObject> emitter;  // top level, in order
    std::vector<MObject> deformer;  // top level, in order
};

MObject numeric(const char* longName, const char* shortName, MFnNumericData::Type type, double value,
                bool array = false) {
    MFnNumericAttribute fn;
    MObject a = fn.create(longName, shortName, type, value);
    fn.setArray(array);
    return a;
}

MObject typed(const char* longName, const char* shortName, MFnData::Type type, bool array = false) {
    MFnTypedAttribute fn;
    MObject a = fn.create(longName, shortName, type);
    fn.setArray(array);
    return a;
}

MObject geometry(const char* longName, const char* shortName, bool array = false) {
    MFnGenericAttribute fn;
    MObject a = fn.create(longName, shortName);
    for (MFnData::Type t : {MFnData::kMesh, MFnData::kNurbsCurve, MFnData::kNurbsSurface, MFnData::kLattice})
        fn.addAccept(t);
    fn.setArray(array);
    return a;
}

MObject time(const char* longName, const char* shortName, bool array = false) {
    MFnUnitAttribute fn;
    MObject a = fn.create(longName, shortName, MFnUnitAttribute::kTime, 0.0);
    fn.setArray(array);
    return a;
}

BaseAttributes makeBaseAttributes() {
    BaseAttributes b;
    auto message = std::make_shared<Attribute>();
    message->kind = AttrKind::Message;
    message->longName = "message";
    message->shortName = "msg";
    b.message = MObject(message);
    b.visibility = numeric("visibility", "v", MFnNumericData::kBoolean, 1.0);

    MPxFieldNode::mInputPositions = typed("inputPositions", "inp", MFnData::kVectorArray);
    MPxFieldNode::mInputVelocities = typed("inputVelocities", "inv", MFnData::kVectorArray);
    MPxFieldNode::mInputMass = typed("inputMass", "inm", MFnData::kDoubleArray);
    MPxFieldNode::mDeltaTime = time("deltaTime", "dt");
    MFnCompoundAttribute compound;
    MPxFieldNode::mInputData = compound.create("inputData", "ind");
    compound.addChild(MPxFieldNode::mInputPositions);
    compound.addChild(MPxFieldNode::mInputVelocities);
    compound.addChild(MPxFieldNode::mInputMass);
    compound.addChild(MPxFieldNode::mDeltaTime);
    compound.setArray(true);
    MPxFieldNode::mOutputForce = typed("outputForce", "of", MFnData::kVectorArray, true);
    MFnTypedAttribute(MPxFieldNode::mOutputForce).setWritable(false);
    MPxFieldNode::mMagnitude = numeric("magnitude", "mag", MFnNumericData::kDouble, 1.0);
    MPxFieldNode::mAttenuation = numeric("attenuation", "att", MFnNumericData::kDouble, 1.0);
    MPxFieldNode::mMaxDistance = numeric("maxDistance", "max", MFnNumericData::kDouble, -1.0);
    MPxFieldNode::mUseMaxDistance = numeric("useMaxDistance", "umd", MFnNumericData::kBoolean, 0.0);
    b.field = {MPxFieldNode::mInputData, MPxFieldNode::mOutputForce, MPxFieldNode::mMagnitude,
               MPxFieldNode::mAttenuation, MPxFieldNode::mMaxDistance, MPxFieldNode::mUseMaxDistance};

    MPxEmitterNode::mOutput = typed("output", "ot", MFnData::kDynArrayAttrs, true);
    MFnTypedAttribute(MPxEmitterNode::mOutput).setWritable(false);
    MPxEmitterNode::mSweptGeometry = typed("sweptGeometry", "swg", MFnData::kDynSweptGeometry);
    MPxEmitterNode::mRate = numeric("rate", "rat", MFnNumericData::kDouble, 100.0);
    MPxEmitterNode::mSpeed = numeric("speed", "spd", MFnNumericData::kDouble, 1.0);
    MPxEmitterNode::mCurrentTime = time("currentTime", "ct");
    MPxEmitterNode::mStartTime = time("startTime", "st", true);
    MPxEmitterNode::mDeltaTime = time("deltaTime", "dt", true);
    MPxEmitterNode::mIsFull = numeric("isFull", "ifl", MFnNumericData::kBoolean, 0.0, true);
    MPxEmitterNode::mInheritFactor = numeric("inheritFactor", "inh", MFnNumericData::kDouble, 0.0, true);
    MPxEmitterNode::mSeed = numeric("seed", "sd", MFnNumericData::kLong, 0.0, true);
    b.emitter = {MPxEmitterNode::mOutput,
                 MPxEmitterNode::mSweptGeometry,
                 MPxEmitterNode::mRate,
                 MPxEmitterNode::mSpeed,
                 numeric("speedRandom", "srnd", MFnNumericData::kDouble, 0.0),
                 numeric("normalSpeed", "nsp", MFnNumericData::kDouble, 1.0),
                 numeric("needParentUV", "nuv", MFnNumericData::kBoolean, 0.0),
                 numeric("scaleRateByObjectSize", "sro", MFnNumericData::kBoolean, 1.0),
                 numeric("minDistance", "min", MFnNumericData::kDouble, 0.0),
                 numeric("maxDistance", "max", MFnNumericData::kDouble, 0.0),
                 MPxEmitterNode::mCurrentTime,
                 MPxEmitterNode::mStartTime,
                 MPxEmitterNode::mDeltaTime,
                 MPxEmitterNode::mIsFull,
                 MPxEmitterNode::mInheritFactor,
                 MPxEmitterNode::mSeed};

    MPxDeformerNode::inputGeom = geometry("inputGeom", "ig");
    MPxDeformerNode::groupId = numeric("groupId", "gi", MFnNumericData::kLong, 0.0);
    MPxDeformerNode::input = compound.create("input", "ip");
    compound.addChild(MPxDeformerNode::inputGeom);
    compound.addChild(MPxDeformerNode::groupId);
    compound.setArray(true);
    MPxDeformerNode::outputGeom = geometry("outputGeom", "og", true);
    MFnGenericAttribute(MPxDeformerNode::outputGeom).setWritable(false);
    MPxDeformerNode::envelope = numeric("envelope", "en", MFnNumericData::kFloat, 1.0);
    MFnNumericAttribute(MPxDeformerNode::envelope).setKeyable(true);
    MPxDeformerNode::weights = numeric("weights", "w", MFnNumericData::kFloat, 1.0, true);
    MPxDeformerNode::weightList = compound.create("weightList", "wl");
    compound.addChild(MPxDeformerNode::weights);
    compound.setArray(true);
    b.deformer = {MPxDeformerNode::input, MPxDeformerNode::outputGeom, MPxDeformerNode::envelope,
                  MPxDeformerNode::weightList};
    return b;
}

const BaseAttributes& baseAttributes() {
    static const BaseAttributes* b = new BaseAttributes(makeBaseAttributes());
    return *b;
}

void affects(NodeType& type, const MObject& whenChanges, const MObject& isAffected) {
    type.addAffects(attributeOf(whenChanges).get(), attributeOf(isAffected).get());
}

}  // namespace

void addBaseAttributes(NodeType& type) {
    const BaseAttributes& b = baseAttributes();
    type.addAttribute(attributeOf(b.message));
    if (isDagApiType(type.apiType)) {
        type.addAttribute(attributeOf(worldMatrixAttribute()));
        type.addAttribute(attributeOf(b.visibility));
    }
    if (type.kind == MPxNode::kFieldNode) {
        for (const MObject& a : b.field) type.addAttribute(attributeOf(a));
        for (const MObject& a : {MPxFieldNode::mInputData, MPxFieldNode::mInputPositions, MPxFieldNode::mInputVelocities,
                                 MPxFieldNode::mInputMass, MPxFieldNode::mDeltaTime, MPxFieldNode::mMagnitude,
                                 MPxFieldNode::mAttenuation, MPxFieldNode::mMaxDistance, MPxFieldNode::mUseMaxDistance})
            affects(type, a, MPxFieldNode::mOutputForce);
    } else if (type.kind == MPxNode::kEmitterNode) {
        for (const MObject& a : b.emitter) type.addAttribute(attributeOf(a));
        for (const MObject& a : {MPxEmitterNode::mCurrentTime, MPxEmitterNode::mStartTime, MPxEmitterNode::mRate,
                                 MPxEmitterNode::mSweptGeometry, MPxEmitterNode::mIsFull, MPxEmitterNode::mInheritFactor})
            affects(type, a, MPxEmitterNode::mOutput);
    } else if (type.kind == MPxNode::kDeformerNode) {
        for (const MObject& a : b.deformer) type.addAttribute(attributeOf(a));
        for (const MObject& a : {MPxDeformerNode::input, MPxDeformerNode::inputGeom, MPxDeformerNode::groupId,
                                 MPxDeformerNode::envelope, MPxDeformerNode::weightList, MPxDeformerNode::weights})
            affects(type, a, MPxDeformerNode::outputGeom);
    }
}

}  // namespace host
