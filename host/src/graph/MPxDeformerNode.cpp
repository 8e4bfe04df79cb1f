#include <maya/MPxDeformerNode.h>

#include <maya/MArrayDataHandle.h>
#include <maya/MDataBlock.h>
#include <maya/MPlug.h>

// The static attribute handles of the deformer base; graph/BaseAttributes.cpp fills them.

MObject MPxDeformerNode::input;
MObject MPxDeformerNode::inputGeom;
MObject MPxDeformerNode::groupId;
MObject MPxDeformerNode::outputGeom;
MObject MPxDeformerNode::envelope;
MObject MPxDeformerNode::weightList;
MObject MPxDeformerNode::weights;

MPxDeformerNode::~MPxDeformerNode() = default;

MPxNode::Type MPxDeformerNode::type() const {
    return kDeformerNode;
}

MStatus MPxDeformerNode::compute(const MPlug&, MDataBlock&) {
    return MStatus::kUnknownParameter;
}

MStatus MPxDeformerNode::deform(MDataBlock&, MItGeometry&, const MMatrix&, unsigned int) {
    return MStatus::kUnknownParameter;
}

float MPxDeformerNode::weightValue(MDataBlock& block, unsigned int multiIndex, unsigned int wtIndex) {
    MStatus status;
    MArrayDataHandle lists = block.inputArrayValue(weightList, &status);
    if (status != MStatus::kSuccess || lists.jumpToElement(multiIndex) != MStatus::kSuccess) return 1.0f;
    MArrayDataHandle values(lists.inputValue().child(weights), &status);
    if (status != MStatus::kSuccess || values.jumpToElement(wtIndex) != MStatus::kSuccess) return 1.0f;
    return values.inputValue().asFloat();
}
