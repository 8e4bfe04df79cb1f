#include <maya/MPxNode.h>

#include "graph/Scene.h"

#include <maya/MDataBlock.h>
#include <maya/MPlug.h>

MPxNode::~MPxNode() = default;

void MPxNode::postConstructor() {}

MStatus MPxNode::compute(const MPlug&, MDataBlock&) {
    return MStatus::kUnknownParameter;
}

bool MPxNode::getInternalValue(const MPlug&, MDataHandle&) {
    return false;
}

bool MPxNode::setInternalValue(const MPlug&, const MDataHandle&) {
    return false;
}

MStatus MPxNode::legalConnection(const MPlug&, const MPlug&, bool, bool&) const {
    return MStatus::kUnknownParameter;
}

MStatus MPxNode::legalDisconnection(const MPlug&, const MPlug&, bool, bool&) const {
    return MStatus::kUnknownParameter;
}

MStatus MPxNode::connectionMade(const MPlug&, const MPlug&, bool) {
    return MStatus::kUnknownParameter;
}

MStatus MPxNode::connectionBroken(const MPlug&, const MPlug&, bool) {
    return MStatus::kUnknownParameter;
}

MStatus MPxNode::shouldSave(const MPlug&, bool&) {
    return MStatus::kUnknownParameter;
}

MPxNode::Type MPxNode::type() const {
    return kDependNode;
}

bool MPxNode::isAbstractClass() const {
    return false;
}

MObject MPxNode::thisMObject() const {
    return node_ ? MObject(node_->shared_from_this()) : MObject();
}

MTypeId MPxNode::typeId() const {
    return node_ ? node_->type->id : MTypeId();
}

MString MPxNode::typeName() const {
    return node_ ? MString(node_->type->name) : MString();
}

MString MPxNode::name() const {
    return node_ ? MString(node_->name) : MString();
}

MStatus MPxNode::addAttribute(const MObject& attribute) {
    host::NodeType* type = host::typeBeingInitialized();
    auto a = host::attributeOf(attribute);
    if (!type || !a) return MStatus::kFailure;
    return type->addAttribute(a);
}

MStatus MPxNode::attributeAffects(const MObject& whenChanges, const MObject& isAffected) {
    host::NodeType* type = host::typeBeingInitialized();
    auto a = host::attributeOf(whenChanges);
    auto b = host::attributeOf(isAffected);
    if (!type || !a || !b) return MStatus::kFailure;
    return type->addAffects(a.get(), b.get());
}
