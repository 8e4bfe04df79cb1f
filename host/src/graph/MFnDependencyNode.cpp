#include <maya/MFnDependencyNode.h>

#include "graph/Scene.h"

#include <maya/MPxNode.h>

using host::Attribute;
using host::Node;

namespace {

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status) *status = code;
    return code;
}

Node* liveNode(const MObject& object) {
    auto* node = dynamic_cast<Node*>(object.impl().get());
    return node && node->alive ? node : nullptr;
}

void flatten(const Attribute* attribute, std::vector<const Attribute*>& out) {
    out.push_back(attribute);
    for (const auto& child : attribute->children) flatten(child.get(), out);
}

std::vector<const Attribute*> allAttributes(const Node& node) {
    std::vector<const Attribute*> all;
    for (const auto& a : node.type->attributes) flatten(a.get(), all);
    for (const auto& a : node.dynamicAttributes)
        if (!a->parent) flatten(a.get(), all);
    return all;
}

}  // namespace

MFnDependencyNode::MFnDependencyNode(const MObject& node, MStatus* status) {
    if (!liveNode(node)) {
        setStatus(status, MStatus::kInvalidParameter);
        return;
    }
    obj_ = node;
    setStatus(status, MStatus::kSuccess);
}

MString MFnDependencyNode::name(MStatus* status) const {
    Node* node = liveNode(obj_);
    setStatus(status, node ? MStatus::kSuccess : MStatus::kFailure);
    return node ? MString(node->name) : MString();
}

MString MFnDependencyNode::typeName(MStatus* status) const {
    Node* node = liveNode(obj_);
    setStatus(status, node ? MStatus::kSuccess : MStatus::kFailure);
    return node ? MString(node->type->name) : MString();
}

MTypeId MFnDependencyNode::typeId(MStatus* status) const {
    Node* node = liveNode(obj_);
    setStatus(status, node ? MStatus::kSuccess : MStatus::kFailure);
    return node ? node->type->id : MTypeId();
}

MPlug MFnDependencyNode::findPlug(const MString& attributeName, MStatus* status) const {
    Node* node = liveNode(obj_);
    if (!node) {
        setStatus(status, MStatus::kFailure);
        return MPlug();
    }
    Attribute* attr = node->findAttribute(attributeName.str());
    if (!attr) {
        setStatus(status, MStatus::kInvalidParameter);
        return MPlug();
    }
    setStatus(status, MStatus::kSuccess);
    return host::plugOf(std::static_pointer_cast<Node>(node->shared_from_this()), attr);
}

MPlug MFnDependencyNode::findPlug(const MObject& attribute, MStatus* status) const {
    Node* node = liveNode(obj_);
    if (!node) {
        setStatus(status, MStatus::kFailure);
        return MPlug();
    }
    auto attr = host::attributeOf(attribute);
    if (!attr || !node->hasAttribute(attr.get())) {
        setStatus(status, MStatus::kInvalidParameter);
        return MPlug();
    }
    setStatus(status, MStatus::kSuccess);
    return host::plugOf(std::static_pointer_cast<Node>(node->shared_from_this()), attr.get());
}

unsigned MFnDependencyNode::attributeCount(MStatus* status) const {
    Node* node = liveNode(obj_);
    setStatus(status, node ? MStatus::kSuccess : MStatus::kFailure);
    return node ? static_cast<unsigned>(allAttributes(*node).size()) : 0;
}

MObject MFnDependencyNode::attribute(unsigned index, MStatus* status) const {
    Node* node = liveNode(obj_);
    if (!node) {
        setStatus(status, MStatus::kFailure);
        return MObject();
    }
    auto all = allAttributes(*node);
    if (index >= all.size()) {
        setStatus(status, MStatus::kInvalidParameter);
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return MObject(const_cast<Attribute*>(all[index])->shared_from_this());
}

MObject MFnDependencyNode::attribute(const MString& attributeName, MStatus* status) const {
    Node* node = liveNode(obj_);
    Attribute* attr = node ? node->findAttribute(attributeName.str()) : nullptr;
    if (!attr) {
        setStatus(status, node ? MStatus::kInvalidParameter : MStatus::kFailure);
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return MObject(attr->shared_from_this());
}

bool MFnDependencyNode::hasAttribute(const MString& attributeName, MStatus* status) const {
    Node* node = liveNode(obj_);
    setStatus(status, node ? MStatus::kSuccess : MStatus::kFailure);
    return node && node->findAttribute(attributeName.str());
}

MStatus MFnDependencyNode::addAttribute(const MObject& attribute, MAttrClass) {
    Node* node = liveNode(obj_);
    if (!node) return MStatus::kFailure;
    auto attr = host::attributeOf(attribute);
    if (!attr || attr->longName.empty()) return MStatus::kInvalidParameter;
    for (const std::string& n : host::namesOf(*attr))
        if (node->findAttribute(n)) return MStatus::kInvalidParameter;
    node->dynamicAttributes.push_back(attr);
    std::vector<const Attribute*> all;
    flatten(attr.get(), all);
    for (const Attribute* a : all) {
        node->dynamicByName[a->longName] = const_cast<Attribute*>(a);
        if (!a->shortName.empty()) node->dynamicByName[a->shortName] = const_cast<Attribute*>(a);
        const_cast<Attribute*>(a)->added = true;
    }
    return MStatus::kSuccess;
}

MPxNode* MFnDependencyNode::userNode(MStatus* status) const {
    Node* node = liveNode(obj_);
    setStatus(status, node ? MStatus::kSuccess : MStatus::kFailure);
    return node ? node->px : nullptr;
}
