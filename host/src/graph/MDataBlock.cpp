#include <maya/MDataBlock.h>

#include "graph/Scene.h"

#include <maya/MPlug.h>

using host::Attribute;
using host::Node;
using host::PlugStep;

namespace {

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

std::vector<PlugStep> chainOf(const Attribute* attribute) {
    std::vector<PlugStep> path;
    for (const Attribute* a = attribute; a; a = a->parent) path.insert(path.begin(), PlugStep{a, -1});
    return path;
}

// The attribute of this node behind a handle, or null.
const Attribute* ownAttribute(Node* node, const MObject& attribute) {
    auto a = host::attributeOf(attribute);
    if (!node || !a || !node->hasAttribute(a.get())) return nullptr;
    for (const Attribute* p = a->parent; p; p = p->parent)
        if (p->array) return nullptr;  // a child under an array has no single value
    return a.get();
}

MDataHandle handleFor(Node* node, const std::vector<PlugStep>& path, MStatus* status) {
    host::ValueRef ref = host::resolve(*node, path, true);
    if (!ref.value) {
        setStatus(status, MStatus::kInvalidParameter);
        return MDataHandle();
    }
    setStatus(status, MStatus::kSuccess);
    return MDataHandle(node, ref.attr, ref.value, ref.component);
}

}  // namespace

MDataHandle MDataBlock::inputValue(const MObject& attribute, MStatus* status) {
    const Attribute* a = ownAttribute(node_, attribute);
    if (!a) {
        setStatus(status, MStatus::kInvalidParameter);
        return MDataHandle();
    }
    host::pullInputs(*node_, a->top());
    return handleFor(node_, chainOf(a), status);
}

MDataHandle MDataBlock::inputValue(const MPlug& plug, MStatus* status) {
    if (plug.hostNode().get() != node_ || plug.isNull()) {
        setStatus(status, MStatus::kInvalidParameter);
        return MDataHandle();
    }
    host::pull(plug);
    return handleFor(node_, plug.hostPath(), status);
}

MDataHandle MDataBlock::outputValue(const MObject& attribute, MStatus* status) {
    const Attribute* a = ownAttribute(node_, attribute);
    if (!a) {
        setStatus(status, MStatus::kInvalidParameter);
        return MDataHandle();
    }
    return handleFor(node_, chainOf(a), status);
}

MDataHandle MDataBlock::outputValue(const MPlug& plug, MStatus* status) {
    if (plug.hostNode().get() != node_ || plug.isNull()) {
        setStatus(status, MStatus::kInvalidParameter);
        return MDataHandle();
    }
    return handleFor(node_, plug.hostPath(), status);
}

MArrayDataHandle MDataBlock::inputArrayValue(const MObject& attribute, MStatus* status) {
    const Attribute* a = ownAttribute(node_, attribute);
    if (!a || !a->array) {
        setStatus(status, MStatus::kInvalidParameter);
        return MArrayDataHandle();
    }
    host::pullInputs(*node_, a->top());
    host::ValueRef ref = host::resolve(*node_, chainOf(a), true);
    setStatus(status, MStatus::kSuccess);
    return MArrayDataHandle(node_, a, ref.value);
}

MArrayDataHandle MDataBlock::outputArrayValue(const MObject& attribute, MStatus* status) {
    const Attribute* a = ownAttribute(node_, attribute);
    if (!a || !a->array) {
        setStatus(status, MStatus::kInvalidParameter);
        return MArrayDataHandle();
    }
    host::ValueRef ref = host::resolve(*node_, chainOf(a), true);
    setStatus(status, MStatus::kSuccess);
    return MArrayDataHandle(node_, a, ref.value);
}

MStatus MDataBlock::setClean(const MPlug& plug) {
    if (plug.hostNode().get() != node_ || plug.isNull()) return MStatus::kInvalidParameter;
    host::setClean(plug);
    return MStatus::kSuccess;
}

MStatus MDataBlock::setClean(const MObject& attribute) {
    auto a = host::attributeOf(attribute);
    if (!a || !node_->hasAttribute(a.get())) return MStatus::kInvalidParameter;
    host::setCleanAttribute(*node_, a.get());
    return MStatus::kSuccess;
}

bool MDataBlock::isClean(const MPlug& plug) {
    return host::isClean(plug);
}

bool MDataBlock::isClean(const MObject& attribute) {
    auto a = host::attributeOf(attribute);
    if (!a || !node_->hasAttribute(a.get())) return false;
    return host::isClean(MPlug(std::static_pointer_cast<Node>(node_->shared_from_this()), chainOf(a.get())));
}
