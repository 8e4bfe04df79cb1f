#include <maya/MItDependencyNodes.h>

#include "graph/Scene.h"

namespace {

bool isAlive(const MObject& node) {
    auto hostNode = std::dynamic_pointer_cast<host::Node>(node.impl());
    return hostNode && hostNode->alive;
}

}  // namespace

MItDependencyNodes::MItDependencyNodes(MFn::Type filter, MStatus* status) : filter_(filter) {
    MStatus s = reset(filter);
    if (status)
        *status = s;
}

bool MItDependencyNodes::isDone(MStatus* status) const {
    if (status)
        *status = MStatus::kSuccess;
    return position_ >= nodes_.size();
}

MStatus MItDependencyNodes::next() {
    if (position_ >= nodes_.size())
        return MStatus::kFailure;
    ++position_;
    skipDeleted();
    return MStatus::kSuccess;
}

MStatus MItDependencyNodes::reset() {
    return reset(filter_);
}

MStatus MItDependencyNodes::reset(MFn::Type filter) {
    filter_ = filter;
    nodes_.clear();
    position_ = 0;
    for (const std::shared_ptr<host::Node>& node : host::sceneNodes())
        if (filter == MFn::kInvalid || node->apiType() == filter)
            nodes_.push_back(MObject(node));
    skipDeleted();
    return MStatus::kSuccess;
}

MObject MItDependencyNodes::item(MStatus* status) const {
    if (position_ >= nodes_.size()) {
        if (status)
            *status = MStatus::kFailure;
        return MObject();
    }
    if (status)
        *status = MStatus::kSuccess;
    return nodes_[position_];
}

void MItDependencyNodes::skipDeleted() {
    while (position_ < nodes_.size() && !isAlive(nodes_[position_]))
        ++position_;
}
