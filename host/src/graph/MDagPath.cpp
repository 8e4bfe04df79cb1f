#include <maya/MDagPath.h>

#include "graph/Dag.h"
#include "graph/Node.h"

namespace {

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status)
        *status = code;
    return code;
}

// Product, leaf first, of the local matrices of the first count nodes.
MMatrix productOf(const std::vector<std::shared_ptr<host::Node>>& nodes, size_t count) {
    MMatrix m;
    for (size_t i = count; i-- > 0;)
        m = m * host::localMatrix(*nodes[i]);
    return m;
}

}  // namespace

MStatus MDagPath::getAPathTo(const MObject& node, MDagPath& path) {
    path = host::dagPathOf(std::dynamic_pointer_cast<host::Node>(node.impl()));
    return path.nodes_.empty() ? MStatus::kInvalidParameter : MStatus::kSuccess;
}

bool MDagPath::isValid(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    if (nodes_.empty())
        return false;
    for (const auto& node : nodes_)
        if (!node || !node->alive)
            return false;
    return true;
}

unsigned MDagPath::length(MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return static_cast<unsigned>(nodes_.size());
}

MString MDagPath::fullPathName(MStatus* status) const {
    if (!isValid()) {
        setStatus(status, nodes_.empty() ? MStatus::kSuccess : MStatus::kFailure);
        return MString();
    }
    std::string text;
    for (const auto& node : nodes_)
        text += "|" + node->name;
    setStatus(status, MStatus::kSuccess);
    return MString(text);
}

MString MDagPath::partialPathName(MStatus* status) const {
    if (!isValid()) {
        setStatus(status, nodes_.empty() ? MStatus::kSuccess : MStatus::kFailure);
        return MString();
    }
    setStatus(status, MStatus::kSuccess);
    return MString(nodes_.back()->name);
}

MObject MDagPath::node(MStatus* status) const {
    if (!isValid()) {
        setStatus(status, MStatus::kFailure);
        return MObject();
    }
    setStatus(status, MStatus::kSuccess);
    return MObject(nodes_.back());
}

MObject MDagPath::transform(MStatus* status) const {
    if (isValid()) {
        for (size_t i = nodes_.size(); i-- > 0;) {
            if (host::isTransform(*nodes_[i])) {
                setStatus(status, MStatus::kSuccess);
                return MObject(nodes_[i]);
            }
        }
    }
    setStatus(status, MStatus::kFailure);
    return MObject();
}

bool MDagPath::hasFn(MFn::Type type, MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    if (!isValid())
        return false;
    if (nodes_.back()->hasFn(type))
        return true;
    if (!host::isTransform(*nodes_.back()))
        return false;
    std::shared_ptr<host::Node> shape = host::shapeOf(nodes_.back());
    return shape && shape->hasFn(type);
}

MStatus MDagPath::extendToShape() {
    if (!isValid())
        return MStatus::kFailure;
    if (host::isShape(*nodes_.back()))
        return MStatus::kSuccess;
    std::shared_ptr<host::Node> shape = host::shapeOf(nodes_.back());
    if (!shape)
        return MStatus::kFailure;
    nodes_.push_back(shape);
    return MStatus::kSuccess;
}

MStatus MDagPath::pop(unsigned count) {
    if (count > nodes_.size())
        return MStatus::kInvalidParameter;
    nodes_.resize(nodes_.size() - count);
    return MStatus::kSuccess;
}

MMatrix MDagPath::inclusiveMatrix(MStatus* status) const {
    if (!isValid()) {
        setStatus(status, MStatus::kFailure);
        return MMatrix();
    }
    setStatus(status, MStatus::kSuccess);
    return productOf(nodes_, nodes_.size());
}

MMatrix MDagPath::exclusiveMatrix(MStatus* status) const {
    if (!isValid()) {
        setStatus(status, MStatus::kFailure);
        return MMatrix();
    }
    setStatus(status, MStatus::kSuccess);
    return productOf(nodes_, nodes_.size() - 1);
}

MMatrix MDagPath::inclusiveMatrixInverse(MStatus* status) const {
    return inclusiveMatrix(status).inverse();
}

MMatrix MDagPath::exclusiveMatrixInverse(MStatus* status) const {
    return exclusiveMatrix(status).inverse();
}
