#include <maya/MDagPath.h>
#include <maya/MPlug.h>
#include <maya/MTransformationMatrix.h>

#include "graph/Node.h"
#include "graph/Scene.h"

namespace {

MStatus setStatus(MStatus* status, MStatus::MStatusCode code) {
    if (status)
        *status = code;
    return code;
}

// The three numbers of a node's double3 attribute, or the fallback when the node has no such attribute.
void read3(const std::shared_ptr<host::Node>& node, const char* name, double fallback, double out[3]) {
    for (int i = 0; i < 3; ++i)
        out[i] = fallback;
    host::Attribute* attr = node->findAttribute(name);
    if (!attr || attr->children.size() != 3 || attr->array)
        return;
    MPlug plug = host::plugOf(node, attr);
    for (unsigned i = 0; i < 3; ++i)
        plug.child(i).getValue(out[i]);
}

MMatrix localMatrix(const std::shared_ptr<host::Node>& node) {
    double translate[3];
    double rotate[3];
    double scale[3];
    read3(node, "translate", 0.0, translate);
    read3(node, "rotate", 0.0, rotate);
    read3(node, "scale", 1.0, scale);
    MTransformationMatrix m;
    m.setScale(scale, MSpace::kTransform);
    m.setRotation(rotate, MTransformationMatrix::kXYZ, MSpace::kTransform);
    m.setTranslation(MVector(translate[0], translate[1], translate[2]), MSpace::kTransform);
    return m.asMatrix();
}

// World matrix of the first `count` nodes of the path.
MMatrix worldMatrix(const std::vector<std::shared_ptr<host::Node>>& nodes, size_t count) {
    MMatrix world;
    for (size_t i = count; i-- > 0;)
        world = world * localMatrix(nodes[i]);
    return world;
}

}  // namespace

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

bool MDagPath::hasFn(MFn::Type type, MStatus* status) const {
    setStatus(status, MStatus::kSuccess);
    return isValid() && nodes_.back()->hasFn(type);
}

MMatrix MDagPath::inclusiveMatrix(MStatus* status) const {
    if (!isValid()) {
        setStatus(status, MStatus::kFailure);
        return MMatrix();
    }
    setStatus(status, MStatus::kSuccess);
    return worldMatrix(nodes_, nodes_.size());
}

MMatrix MDagPath::exclusiveMatrix(MStatus* status) const {
    if (!isValid()) {
        setStatus(status, MStatus::kFailure);
        return MMatrix();
    }
    setStatus(status, MStatus::kSuccess);
    return worldMatrix(nodes_, nodes_.size() - 1);
}
