#ifndef MDAGPATH_H
#define MDAGPATH_H

#include <maya/MFn.h>
#include <maya/MMatrix.h>
#include <maya/MObject.h>
#include <maya/MStatus.h>
#include <maya/MString.h>

#include <memory>
#include <vector>

namespace host {
class Node;
}

// A path from the world down to a node: the nodes along it, root first. The default path is empty and
// invalid.
//
// fullPathName() is "|a|b" ("" for an empty path). inclusiveMatrix() is the world matrix of the last
// node: the product, leaf first, of each node's local matrix (row-vector convention, so a point maps as
// p * inclusiveMatrix()); the identity for an empty path. A node's local matrix is S * R * T from its
// "scale" (default 1), "rotate" (radians, order XYZ) and "translate" attributes, the identity for a node
// without them. A path whose nodes were deleted is no longer valid. On an invalid path node() and the
// matrices fail with kFailure (the matrices are then the identity); fullPathName() of an empty path is "".
class MDagPath {
public:
    MDagPath() = default;
    // Host-only: a path through these nodes, root first.
    explicit MDagPath(std::vector<std::shared_ptr<host::Node>> nodes) : nodes_(std::move(nodes)) {}

    bool isValid(MStatus* status = nullptr) const;
    // Number of nodes on the path.
    unsigned length(MStatus* status = nullptr) const;
    MString fullPathName(MStatus* status = nullptr) const;
    MString partialPathName(MStatus* status = nullptr) const;
    // The last node; a null object (and kFailure) for an invalid path.
    MObject node(MStatus* status = nullptr) const;
    bool hasFn(MFn::Type type, MStatus* status = nullptr) const;
    MMatrix inclusiveMatrix(MStatus* status = nullptr) const;
    // The world matrix of the parent of the last node (identity when it has none).
    MMatrix exclusiveMatrix(MStatus* status = nullptr) const;

    bool operator==(const MDagPath& other) const { return nodes_ == other.nodes_; }
    bool operator!=(const MDagPath& other) const { return !(*this == other); }

    const std::vector<std::shared_ptr<host::Node>>& hostNodes() const { return nodes_; }

private:
    std::vector<std::shared_ptr<host::Node>> nodes_;
};

#endif
