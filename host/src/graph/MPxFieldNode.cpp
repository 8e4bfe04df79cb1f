#include <maya/MPxEmitterNode.h>
#include <maya/MPxFieldNode.h>

// The static attribute handles of the field and emitter bases; graph/BaseAttributes.cpp fills them.

MObject MPxFieldNode::mInputData;
MObject MPxFieldNode::mInputPositions;
MObject MPxFieldNode::mInputVelocities;
MObject MPxFieldNode::mInputMass;
MObject MPxFieldNode::mDeltaTime;
MObject MPxFieldNode::mOutputForce;
MObject MPxFieldNode::mMagnitude;
MObject MPxFieldNode::mAttenuation;
MObject MPxFieldNode::mMaxDistance;
MObject MPxFieldNode::mUseMaxDistance;

MPxFieldNode::~MPxFieldNode() = default;

MPxNode::Type MPxFieldNode::type() const {
    return kFieldNode;
}

MStatus MPxFieldNode::getForceAtPoint(const MVectorArray&, const MVectorArray&, const MDoubleArray&, MVectorArray&,
                                      double) {
    return MStatus::kUnknownParameter;
}

MObject MPxEmitterNode::mOutput;
MObject MPxEmitterNode::mSweptGeometry;
MObject MPxEmitterNode::mRate;
MObject MPxEmitterNode::mSpeed;
MObject MPxEmitterNode::mCurrentTime;
MObject MPxEmitterNode::mStartTime;
MObject MPxEmitterNode::mDeltaTime;
MObject MPxEmitterNode::mIsFull;
MObject MPxEmitterNode::mInheritFactor;
MObject MPxEmitterNode::mSeed;

MPxEmitterNode::~MPxEmitterNode() = default;

MPxNode::Type MPxEmitterNode::type() const {
    return kEmitterNode;
}
