#include <maya/MSelectionList.h>

#include "graph/Dag.h"
#include "graph/Scene.h"

#include <algorithm>

MStatus MSelectionList::clear() {
    items_.clear();
    return MStatus::kSuccess;
}

bool MSelectionList::isEmpty(MStatus* status) const {
    if (status)
        *status = MStatus::kSuccess;
    return items_.empty();
}

unsigned MSelectionList::length(MStatus* status) const {
    if (status)
        *status = MStatus::kSuccess;
    return static_cast<unsigned>(items_.size());
}

MStatus MSelectionList::addItem(Item item) {
    auto same = [&](const Item& other) {
        return other.node == item.node && other.path == item.path && other.component == item.component;
    };
    if (std::none_of(items_.begin(), items_.end(), same))
        items_.push_back(std::move(item));
    return MStatus::kSuccess;
}

MStatus MSelectionList::add(const MString& matchString, bool) {
    const std::string name = matchString.str();
    if (name.empty())
        return MStatus::kInvalidParameter;
    if (std::shared_ptr<host::Node> dag = host::findDagNode(name))
        return add(host::dagPathOf(dag));
    std::shared_ptr<host::Node> node = host::findNode(name);
    if (!node)
        return MStatus::kInvalidParameter;
    return addItem(Item{MDagPath(), MObject(node), MObject()});
}

MStatus MSelectionList::add(const MObject& node, bool) {
    auto n = std::dynamic_pointer_cast<host::Node>(node.impl());
    if (!n || !n->alive)
        return MStatus::kInvalidParameter;
    if (host::isDagNode(*n))
        return add(host::dagPathOf(n));
    return addItem(Item{MDagPath(), node, MObject()});
}

MStatus MSelectionList::add(const MDagPath& path, const MObject& component, bool) {
    if (!path.isValid())
        return MStatus::kInvalidParameter;
    return addItem(Item{path, path.node(), component});
}

MStatus MSelectionList::getDagPath(unsigned index, MDagPath& path, MObject& component) const {
    // The default component argument is the shared null object: it is never written.
    const bool wantsComponent = &component != &MObject::kNullObj;
    path = MDagPath();
    if (wantsComponent)
        component = MObject();
    if (index >= items_.size())
        return MStatus::kInvalidParameter;
    const Item& item = items_[index];
    if (item.path.length() == 0)
        return MStatus::kFailure;
    path = item.path;
    if (wantsComponent)
        component = item.component;
    return MStatus::kSuccess;
}

MStatus MSelectionList::getDependNode(unsigned index, MObject& node) const {
    if (index >= items_.size()) {
        node = MObject();
        return MStatus::kInvalidParameter;
    }
    node = items_[index].node;
    return MStatus::kSuccess;
}
